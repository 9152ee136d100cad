// The bibliography's browse and form: its two orders, and the three file fields of an entry.
#include <QDir>
#include <QFile>

#include "elements_fixture.h"

using namespace vesp;
using namespace vesp::testing;

namespace {

namespace BBL = dict::idx::BBL;
constexpr const char* kBrowse = "Browse the Bibliography File";
constexpr const char* kAdding = "Adding a Bibliography Record";
constexpr const char* kChanging = "Changing a Bibliography Record";

class BibliographyTest : public ElementsTest {
 protected:
  void SetUp() override {
    ElementsTest::SetUp();
    for (const char* t : {"Amazing Grace", "Be Thou My Vision", "Abide With Me"})
      add(tables::Bibliography, [t](vrt::RecordRef b) {
        b.set(BBL_TITLE, t);
        b.set(BBL_DURATION, "4:00");
      });
  }
  static std::string file(const char* name) {
    QFile f(QDir::current().filePath(name));
    EXPECT_TRUE(f.open(QIODevice::WriteOnly));
    return QDir::current().filePath(name).toStdString();
  }
  static std::string native(const std::string& path) {
    return QDir::fromNativeSeparators(QString::fromStdString(path)).toStdString();
  }
};

}  // namespace

TEST_F(BibliographyTest, TheTabsListByTitleOrByNumber) {
  call("BrowseBibliography", tables::Bibliography, Request::None);
  ASSERT_NE(robot.findWindow(kBrowse), nullptr);
  EXPECT_EQ(column(kBrowse, 2), (std::vector<std::string>{"Abide With Me", "Amazing Grace", "Be Thou My Vision"}));
  robot.chooseTab(kBrowse, "?CurrentTab", "Bibliography #");
  EXPECT_EQ(column(kBrowse, 2), (std::vector<std::string>{"Amazing Grace", "Be Thou My Vision", "Abide With Me"}));
  EXPECT_EQ(column(kBrowse, 1), (std::vector<std::string>{"1", "2", "3"}));
  robot.type(kBrowse, "?Locator:2", "2");
  EXPECT_EQ(robot.control(kBrowse, "?Browse:1").list()->selectedRow(), 2);
  // The nine of the entry, then when it was last used and how many services used it.
  EXPECT_EQ(rows(kBrowse).front().size(), 11u);
}

TEST_F(BibliographyTest, AnEntryPicksItsWordsAndMusicAndCancellingEmptiesTheField) {
  const std::string words = file("words.txt");
  call("BrowseBibliography", tables::Bibliography, Request::None);
  robot.press(kBrowse, "?Insert");
  ASSERT_NE(robot.findWindow(kAdding), nullptr);
  robot.type(kAdding, "?BBL:TITLE", "How Great Thou Art");
  robot.type(kAdding, "?BBL:DURATION", "5:10");
  robot.press(kAdding, "?LOOKUPFILE");
  robot.chooseFile(words);
  EXPECT_EQ(native(text(kAdding, "?BBL:WORDS")), words);
  robot.type(kAdding, "?BBL:MUSIC", "/old/music.mid");
  robot.press(kAdding, "?LOOKUPFILE:2");
  robot.cancelFileDialog();
  EXPECT_EQ(text(kAdding, "?BBL:MUSIC"), "");
  robot.press(kAdding, "?VIEWVIDEO");  // an empty field opens nothing
  EXPECT_TRUE(opener->opened.empty());
  robot.press(kAdding, "?VIEWWORDS");
  ASSERT_EQ(opener->opened.size(), 1u);
  EXPECT_EQ(native(opener->opened.front()), words);
  robot.press(kAdding, "?OK");
  EXPECT_EQ(stored(tables::Bibliography, 4, BBL::TITLE), "How Great Thou Art");
  EXPECT_EQ(native(stored(tables::Bibliography, 4, BBL::WORDS)), words);
  EXPECT_EQ(stored(tables::Bibliography, 4, BBL::MUSIC), "");
  EXPECT_EQ(column(kBrowse, 2).back(), "How Great Thou Art");
}

TEST_F(BibliographyTest, AChangeKeepsWhatWasNotTouchedAndShowsTheCaptionForChanging) {
  call("UpdateBibliography", tables::Bibliography, Request::Change, 2);
  ASSERT_NE(robot.findWindow(kChanging), nullptr);
  EXPECT_EQ(robot.window(kChanging).procedure(), "UpdateBibliography");
  EXPECT_EQ(text(kChanging, "?BBL:TITLE"), "Be Thou My Vision");
  robot.type(kChanging, "?BBL:CCLI", "30639");
  robot.press(kChanging, "?OK");
  EXPECT_EQ(response, Response::Completed);
  EXPECT_EQ(stored(tables::Bibliography, 2, BBL::CCLI), "30639");
  EXPECT_EQ(stored(tables::Bibliography, 2, BBL::DURATION), "4:00");
}

TEST_F(BibliographyTest, TypingWordsNarrowsTheListToTheEntriesThatHaveThemAll) {
  add(tables::Bibliography, [](vrt::RecordRef b) {
    b.set(BBL_TITLE, "Dios está aquí");
    b.set(BBL_WRITTENBY, "Traditional");
    b.set(BBL_CCLI, "4711");
  });
  add(tables::Bibliography, [](vrt::RecordRef b) {
    b.set(BBL_TITLE, "Grace Alone");
    b.set(BBL_WRITTENBY, "Scott Dyer");
    b.set(BBL_ISBN, "978-0-19");
  });
  call("BrowseBibliography", tables::Bibliography, Request::None);
  ASSERT_NE(robot.findWindow(kBrowse), nullptr);
  auto typeKeys = [&](const std::string& text) {
    for (std::size_t at = 0; at < text.size();) {
      std::size_t next = at + 1;
      while (next < text.size() && (static_cast<unsigned char>(text[next]) & 0xC0) == 0x80) ++next;
      robot.typeCharacter(kBrowse, text.substr(at, next - at), "?WordSearch");
      at = next;
    }
  };
  typeKeys("gra");
  EXPECT_EQ(column(kBrowse, 2), (std::vector<std::string>{"Amazing Grace", "Grace Alone"}));
  typeKeys(" al");
  EXPECT_EQ(column(kBrowse, 2), (std::vector<std::string>{"Grace Alone"}));
  // Another field, with accents typed or not; an ISBN by its parts; a CCLI number.
  robot.type(kBrowse, "?WordSearch", "");
  typeKeys("aqui");
  EXPECT_EQ(column(kBrowse, 2), (std::vector<std::string>{"Dios está aquí"}));
  robot.type(kBrowse, "?WordSearch", "");
  typeKeys("978-0");
  EXPECT_EQ(column(kBrowse, 2), (std::vector<std::string>{"Grace Alone"}));
  robot.type(kBrowse, "?WordSearch", "");
  typeKeys("4711");
  EXPECT_EQ(column(kBrowse, 2), (std::vector<std::string>{"Dios está aquí"}));
  typeKeys("x");  // "4711x" is in no entry: an empty list, no message
  EXPECT_TRUE(column(kBrowse, 2).empty());
  EXPECT_EQ(robot.messageBox(), nullptr);
  EXPECT_TRUE(robot.control(kBrowse, "?Change").disabled());
  // Clearing the words lists every entry again, in either order.
  robot.type(kBrowse, "?WordSearch", "");
  robot.typeCharacter(kBrowse, " ", "?WordSearch");
  EXPECT_EQ(column(kBrowse, 2).size(), 5u);
  typeKeys("o'");  // a quote is not a word: it cannot break the filter
  EXPECT_EQ(robot.messageBox(), nullptr);
}
