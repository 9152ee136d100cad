// The user guide as a user meets it: the Help menu, and the Help button and F1 of every
// window the program has, each opening a page that names that window; the guide's links
// and its search.
#include <QRegularExpression>
#include <QTabWidget>
#include <QTextBrowser>

#include <set>

#include "runtime/gui/control.h"
#include "runtime/gui/events.h"
#include "runtime/gui/message_box.h"
#include "runtime/help/guide.h"
#include "runtime/help/help_window.h"
#include "runtime/text/utf8.h"
#include "screens/lookups/picklists.h"
#include "screens/worship/worship.h"
#include "screens_fixture.h"
#include "shell/browse_menu.h"
#include "windows/procedure_list.h"

using namespace vesp;
using namespace vesp::testing;

namespace {

class HelpTest : public ScreensTest {
 protected:
  void TearDown() override {
    vrt::CloseHelp();
    ScreensTest::TearDown();
  }

  static vrt::HelpWindow& help() {
    vrt::HelpWindow* h = vrt::HelpWindow::current();
    if (!h) throw std::runtime_error("the help window is not open");
    return *h;
  }

  static std::string page() { return help().currentPage().toStdString(); }
  static QString shown(const QString& text) { return text.simplified().remove(u'&'); }

  // The window's Help button (where it has a usable one) and F1 both open a page of the
  // guide, not its contents, that names the window by its caption.
  void expectHelpNames(vrt::Window& w) {
    const std::string procedure = w.procedure();
    const QString caption = shown(QString::fromStdString(w.caption()));
    SCOPED_TRACE(procedure + " \"" + caption.toStdString() + "\"");
    std::vector<int> ways = {vrt::kF1Key};
    const vrt::Control* button = w.control("?Help");
    if (button && !button->hidden() && !button->disabled()) ways.push_back(0);
    for (const int way : ways) {
      vrt::CloseHelp();
      if (way == 0) robot.press(procedure, "?Help");
      else robot.pressKey(procedure, vrt::kF1Key);
      ASSERT_NE(vrt::HelpWindow::current(), nullptr) << (way ? "F1" : "Help button");
      EXPECT_TRUE(help().isVisible());
      EXPECT_NE(page(), vrt::kGuideHomePage) << "no page of its own";
      EXPECT_TRUE(shown(help().currentText()).contains(caption, Qt::CaseInsensitive))
          << "page " << page() << " does not name it";
    }
    covered.insert(vrt::upperCase(procedure));
  }

  vrt::Window& newest() {
    const auto open = vrt::Window::openWindows();
    if (open.empty()) throw std::runtime_error("no window is open");
    return *open.back();
  }

  // Closes a form opened for insert without saving.
  void cancel(vrt::Window& form) {
    const int id = form.id();
    robot.press(form.procedure(), "?Cancel");
    while (robot.messageBox()) robot.pressMessageButton("&No");
    EXPECT_EQ(vrt::Window::find(id), nullptr);
  }

  // A list window: its page, then the form its Insert opens, then closed again.
  void walkBrowse(vrt::Window& browse) {
    expectHelpNames(browse);
    const int id = browse.id();
    if (const vrt::Control* insert = browse.control("?Insert"); insert && !insert->hidden() && !insert->disabled()) {
      robot.press(browse.procedure(), "?Insert");
      vrt::Window& form = newest();
      EXPECT_NE(form.id(), id) << browse.procedure() << ": Insert opened no form";
      if (form.id() != id) {
        expectHelpNames(form);
        cancel(form);
      }
    }
    robot.closeWindow(browse.procedure());
  }

  std::set<std::string> covered;
};

}  // namespace

TEST_F(HelpTest, TheHelpMenuOpensTheGuideAtItsContentsItsSearchAndItsOwnPage) {
  robot.chooseMenu("&Help|&Contents");
  ASSERT_NE(vrt::HelpWindow::current(), nullptr);
  EXPECT_TRUE(help().isVisible());
  EXPECT_EQ(page(), vrt::kGuideHomePage);
  EXPECT_EQ(help().currentTab(), vrt::HelpWindow::Tab::Contents);
  EXPECT_TRUE(help().currentText().contains("First Steps"));

  robot.chooseMenu("&Help|&Search for Help On...");
  EXPECT_EQ(vrt::HelpWindow::current(), &help());  // one help window, brought forward
  EXPECT_EQ(help().currentTab(), vrt::HelpWindow::Tab::Search);
  // A tab chosen with the mouse takes the typing at once.
  auto* tabs = help().findChild<QTabWidget*>();
  ASSERT_NE(tabs, nullptr);
  tabs->setCurrentIndex(static_cast<int>(vrt::HelpWindow::Tab::Index));
  tabs->setCurrentIndex(static_cast<int>(vrt::HelpWindow::Tab::Search));
  ASSERT_NE(help().focusWidget(), nullptr);
  EXPECT_EQ(help().focusWidget()->accessibleName(), "Search for");

  robot.chooseMenu("&Help|&How to Use Help");
  EXPECT_EQ(page(), vrt::kGuideHelpOnHelpPage);
  EXPECT_TRUE(help().currentText().contains("Index"));
  // Back returns to the page read before, forward again.
  EXPECT_TRUE(help().back());
  EXPECT_EQ(page(), vrt::kGuideHomePage);
  EXPECT_TRUE(help().forward());
  EXPECT_EQ(page(), vrt::kGuideHelpOnHelpPage);

  // The welcome's link and any caller name a page; an unknown name shows the contents.
  vrt::ShowHelp("first-steps");
  EXPECT_EQ(page(), "first-steps");
  vrt::ShowHelp("no-such-page");
  EXPECT_EQ(page(), vrt::kGuideHomePage);
  EXPECT_TRUE(help().currentText().contains("no-such-page"));
}

TEST_F(HelpTest, EveryWindowsHelpOpensAPageThatNamesIt) {
  // Something in every list, so that the reports and the order of service have a record.
  add(tables::Service, [](vrt::RecordRef r) { r.set(SER_TITLE, "Advent Sunday"); });
  add(tables::PrayerRequest, [](vrt::RecordRef r) { r.set(PRA_REQUEST, "For the new roof"); });

  expectHelpNames(*vrt::FrameHost::frame());
  // The browses on the Browse menu, as the menu starts them.
  for (const BrowseEntry& entry : browseEntries()) {
    std::string item = entry.menuText;
    robot.chooseMenu("&Browse|" + item);
    if (std::string_view(entry.procedure) == "BrowsePrayerRequest") {
      // Its saved queries' "Custom Query..." opens the query wizard.
      robot.chooseItem(entry.procedure, "?SavedQueries", "Custom Query...");
      expectHelpNames(robot.window("XB_QWIZARD"));
      robot.press("XB_QWIZARD", "?Cancel");
      while (robot.messageBox()) robot.pressMessageButton("Yes");
    }
    walkBrowse(robot.window(entry.procedure));
  }
  // The other lists, as the forms' look-ups start them: on a thread of their own.
  for (const std::string& name : RegisteredProcedures()) {
    if (name.rfind("BROWSE", 0) != 0 || covered.count(name)) continue;
    const int before = newest().id();
    onThread([name] {
      threadGlobals().GlobalRequest = Request::None;
      FindProcedure(name)();
    });
    ASSERT_NE(newest().id(), before) << name << " opened no window";
    walkBrowse(newest());
  }
  // The forms only another form's lists open, for a new record as those lists do.
  const std::pair<const char*, const dict::TableDecl*> kChildForms[] = {
      {"UpdateServiceElement", &tables::ServiceElement}, {"UpdateBibleRef", &tables::BibleRef},
      {"UpdateKeyWords", &tables::KeyWords},             {"UpdateStatistics", &tables::Statistics},
      {"UpdateAssociatedFiles", &tables::AssociatedFiles}, {"UpdateSeriesPublicity", &tables::SeriesPublicity},
      {"UpdatePerformerGroupDetail", &tables::PerformerGroupDetail}};
  for (const auto& [form, table] : kChildForms) {
    call(form, *table, Request::Insert);
    expectHelpNames(robot.window(form));
    cancel(robot.window(form));
  }
  // The reports, as their print buttons start them: the first window each opens.
  for (const std::string& name : RegisteredProcedures()) {
    if (name.rfind("REPORT", 0) != 0) continue;
    SCOPED_TRACE(name);
    const int before = newest().id();
    vrt::StartThread(FindProcedure(name), 50'000, name);
    robot.settle();
    vrt::Window& first = newest();
    ASSERT_NE(first.id(), before) << name << " opened no window";
    // The order of service with no service chosen only says so.
    if (first.procedure() != vrt::kMessageBoxProcedure) expectHelpNames(first);
    // The report's own name finds its page too (its progress window carries it).
    EXPECT_FALSE(vrt::ProgramGuide().pageForWindow(QString::fromStdString(name)).isEmpty());
    covered.insert(name);
    robot.closeWindow(first.procedure());
    while (robot.messageBox()) robot.pressMessageButton("Ok");
  }
  // File > Restore Data.
  // File > Restore Data, once there is a backup set to restore.
  robot.chooseMenu("&File|&Back Up Data Now...");
  while (robot.messageBox()) robot.pressMessageButton("Ok");
  robot.chooseMenu("&File|&Restore Data...");
  expectHelpNames(robot.window("RestoreData"));
  robot.closeWindow("RestoreData");

  std::vector<std::string> missed;
  for (const std::string& name : RegisteredProcedures())
    if (!covered.count(name)) missed.push_back(name);
  EXPECT_TRUE(missed.empty()) << "windows not opened: " << ::testing::PrintToString(missed);
}

TEST(GuideTest, EveryLinkOfTheGuideLeadsToAPageAndEveryPageIsInTheContents) {
  const vrt::Guide& guide = vrt::ProgramGuide();
  ASSERT_FALSE(guide.empty());
  static const QRegularExpression href(QStringLiteral("href=\"([^\"]*)\""));
  static const QRegularExpression anchor(QStringLiteral("(?:id|name)=\"([^\"]*)\""));
  int links = 0;
  for (const auto& [name, page] : guide.pages()) {
    EXPECT_TRUE(page.title != name) << name.toStdString() << " has no title";
    for (auto it = href.globalMatch(page.html); it.hasNext();) {
      const QString link = it.next().captured(1);
      ++links;
      if (link.startsWith("http://") || link.startsWith("https://") || link.startsWith("mailto:")) continue;
      const QString file = link.section(u'#', 0, 0);
      const QString fragment = link.section(u'#', 1);
      const QString target = file.isEmpty() ? name : file.chopped(file.endsWith(".html") ? 5 : 0);
      const vrt::GuidePage* to = guide.page(target);
      EXPECT_TRUE(file.isEmpty() || file.endsWith(".html")) << name.toStdString() << ": " << link.toStdString();
      ASSERT_NE(to, nullptr) << name.toStdString() << " links to a missing page: " << link.toStdString();
      if (fragment.isEmpty()) continue;
      QStringList anchors;
      for (auto a = anchor.globalMatch(to->html); a.hasNext();) anchors << a.next().captured(1);
      EXPECT_TRUE(anchors.contains(fragment)) << name.toStdString() << " links to a missing place: " << link.toStdString();
    }
  }
  EXPECT_GT(links, 0);
  std::set<QString> listed;
  for (const vrt::GuideContentsEntry& e : guide.contents()) {
    EXPECT_NE(guide.page(e.page), nullptr) << "the contents list a missing page: " << e.page.toStdString();
    listed.insert(e.page);
  }
  for (const auto& [name, page] : guide.pages())
    EXPECT_TRUE(listed.count(name)) << name.toStdString() << " is not in the contents";
  for (const vrt::GuideIndexEntry& e : guide.index()) EXPECT_NE(guide.page(e.page), nullptr);
}

TEST_F(HelpTest, SearchingFindsTheSongUsagePageForCCLIAndTheIndexNarrowsAsTyped) {
  robot.chooseMenu("&Help|&Search for Help On...");
  const QStringList titles = help().search("CCLI");
  ASSERT_FALSE(titles.isEmpty());
  EXPECT_EQ(help().searchResults().front().toStdString(), "song-usage");
  ASSERT_TRUE(help().openSearchResult(0));
  EXPECT_EQ(page(), "song-usage");
  EXPECT_TRUE(help().currentText().contains("CCLI"));
  // Case and word endings do not matter; every word must be on the page.
  EXPECT_TRUE(help().search("ccli report").contains(titles.front()));
  EXPECT_TRUE(help().search("licen").contains(titles.front()));
  EXPECT_TRUE(help().search("ccli zebra").isEmpty());
  EXPECT_FALSE(help().openSearchResult(0));

  const QStringList entries = help().filterIndex("song");
  ASSERT_FALSE(entries.isEmpty());
  for (const QString& e : entries) EXPECT_TRUE(e.startsWith("song", Qt::CaseInsensitive)) << e.toStdString();
}
