// Song rotation seen from the screens: the bibliography's first and last used dates follow
// the services and elements as they are saved, changed and removed, a cancelled form
// changes nothing, and the bibliography browse shows how often and how lately each entry
// was used.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "runtime/store/sqlite_db.h"
#include "runtime/text/picture.h"
#include "worship/song_rotation.h"
#include "service_data.h"

using namespace vesp;
using namespace vesp::testing;

namespace {

namespace BBL = dict::idx::BBL;
namespace SEL = dict::idx::SEL;

constexpr const char* kBibliography = "Browse the Bibliography File";
constexpr const char* kAddElement = "Service Element Will Be Added";
constexpr const char* kChangeElement = "Service Element Will Be Changed";

vrt::DayNumber day(int y, int m, int d) { return vrt::dateFromYmd(y, m, d); }

class SongRotationTest : public ServiceDataTest {
 protected:
  void SetUp() override {
    ServiceDataTest::SetUp();
    onThread([this] {
      for (const char* title : {"Amazing Grace", "Be Thou My Vision", "Come Thou Fount", "Dios está aquí"})
        add(tables::Bibliography, [title](vrt::RecordRef r) { r.set(BBL_TITLE, title); });
      // Amazing Grace twice in the first service and once in the second; Be Thou My Vision in
      // the first; Come Thou Fount only in the undated one; Dios está aquí nowhere.
      amazing = song(first, 3, 1);
      song(first, 4, 1);
      vision = song(first, 5, 2);
      amazingLater = song(second, 2, 1);
      song(undated, 1, 3);
    });
    // Made behind the program's back, so the dates are worked out once from scratch.
    onThread([] {
      for (const dict::TableDecl* t : {&tables::Service, &tables::ServiceElement, &tables::Bibliography}) {
        static_cast<void>(Access(*t).Open());
        static_cast<void>(Access(*t).Use());
      }
      EXPECT_EQ(RecomputeAllSongUse(TableFile(tables::Service), TableFile(tables::ServiceElement),
                                    TableFile(tables::Bibliography)),
                2);
      for (const dict::TableDecl* t : {&tables::Service, &tables::ServiceElement, &tables::Bibliography})
        static_cast<void>(Access(*t).Close());
    });
  }
  static std::int64_t song(std::int64_t service, int order, int entry) {
    return add(tables::ServiceElement, [&](vrt::RecordRef r) {
      r.set(SEL_SERVICENUMBER, static_cast<double>(service));
      r.set(SEL_ELEMENTORDER, static_cast<double>(order));
      r.set(SEL_TYPE, "Song");
      r.set(SEL_BIBLIOGRAPHYNUMBER, static_cast<double>(entry));
    });
  }

  // An entry's first and last used dates as stored.
  SongUseDates used(int entry) {
    SongUseDates d{-1, -1};
    onThread([&] {
      FileManager& f = Access(tables::Bibliography);
      static_cast<void>(f.Open());
      f.BUFFER()->set(BBL_BIBLIOGRAPHYNUMBER, entry);
      if (f.Fetch(BBL::keys::BibliographyNumberKey) == Level::Benign)
        d = {f.BUFFER()->get(BBL_FIRSTUSED_DATE), f.BUFFER()->get(BBL_LASTUSED_DATE)};
      static_cast<void>(f.Close());
    });
    return d;
  }
  static std::string shown(vrt::DayNumber d) { return vrt::formatPicture(static_cast<double>(d), "@d17"); }

  void changeService(std::int64_t service) {
    open("UpdateService", Request::Change, &tables::Service, service);
    ASSERT_NE(robot.findWindow(kChangeService), nullptr);
  }
  // The browse's column by its heading.
  std::vector<std::string> bibliographyColumn(const std::string& heading) {
    vrt::PagedList* list = robot.control(kBibliography, "?Browse:1").list();
    for (int c = 1; c <= list->columnCount(); ++c)
      if (list->headerAt(c) == heading) return column(kBibliography, "?Browse:1", c);
    ADD_FAILURE() << "no column " << heading;
    return {};
  }

  std::int64_t amazing = 0, vision = 0, amazingLater = 0;
};

const SongUseDates kNever{0, 0};

}  // namespace

TEST_F(SongRotationTest, LastUsedFollowsAServicesNewDateAndTheUndatedCountForNothing) {
  EXPECT_EQ(used(1), (SongUseDates{day(2026, 11, 29), day(2026, 12, 6)}));
  EXPECT_EQ(used(2), (SongUseDates{day(2026, 11, 29), day(2026, 11, 29)}));
  EXPECT_EQ(used(3), kNever);  // sung only in a service without a date
  EXPECT_EQ(used(4), kNever);

  changeService(first);
  robot.type(kChangeService, "?SER:WEEKOFDATE_DATE", shown(day(2026, 12, 13)));
  robot.press(kChangeService, "?OK");
  ASSERT_EQ(robot.findWindow(kChangeService), nullptr);
  EXPECT_EQ(used(1), (SongUseDates{day(2026, 12, 6), day(2026, 12, 13)}));
  EXPECT_EQ(used(2), (SongUseDates{day(2026, 12, 13), day(2026, 12, 13)}));
  EXPECT_EQ(used(3), kNever);

  // Dated at last, the undated service brings its song into the rotation.
  changeService(undated);
  robot.type(kChangeService, "?SER:WEEKOFDATE_DATE", shown(day(2025, 1, 5)));
  robot.press(kChangeService, "?OK");
  EXPECT_EQ(used(3), (SongUseDates{day(2025, 1, 5), day(2025, 1, 5)}));
  // And a date taken away takes it out again.
  changeService(undated);
  robot.type(kChangeService, "?SER:WEEKOFDATE_DATE", "");
  robot.press(kChangeService, "?OK");
  EXPECT_EQ(used(3), kNever);
}

TEST_F(SongRotationTest, RemovingElementsFromEitherListOrTheWholeServiceRecomputesTheirEntries) {
  open("BrowseService");
  robot.chooseRow(kServices, "?BROWSE:1", 3);  // the second service
  robot.chooseRow(kServices, "?LIST", 2);      // its Amazing Grace
  robot.press(kServices, "?Delete:2");
  robot.pressMessageButton("Yes");
  EXPECT_EQ(records(tables::ServiceElement), 7);
  EXPECT_EQ(used(1), (SongUseDates{day(2026, 11, 29), day(2026, 11, 29)}));

  robot.chooseRow(kServices, "?BROWSE:1", 2);  // the first service
  robot.press(kServices, "?Change");
  robot.chooseTab(kChangeService, "?CurrentTab", "Service Elements");
  robot.chooseRow(kChangeService, "?List:ServiceElements", 5);  // Be Thou My Vision
  robot.press(kChangeService, "?Delete:13");
  robot.pressMessageButton("Yes");
  EXPECT_EQ(used(2), kNever);
  robot.press(kChangeService, "?OK");
  EXPECT_EQ(used(2), kNever);
  EXPECT_EQ(used(1), (SongUseDates{day(2026, 11, 29), day(2026, 11, 29)}));

  robot.chooseRow(kServices, "?BROWSE:1", 2);
  robot.press(kServices, "?Delete");
  robot.pressMessageButton("Yes");
  EXPECT_EQ(used(1), kNever);
  EXPECT_EQ(records(tables::ServiceElement), 2);  // the undated one's song, and the second's candles
}

TEST_F(SongRotationTest, DeletingAServiceLeavesTheDatesOfItsSongsFromTheOthers) {
  open("BrowseService");
  robot.chooseRow(kServices, "?BROWSE:1", 2);  // the first service
  robot.press(kServices, "?Delete");
  robot.pressMessageButton("Yes");
  EXPECT_EQ(used(1), (SongUseDates{day(2026, 12, 6), day(2026, 12, 6)}));
  EXPECT_EQ(used(2), kNever);
}

TEST_F(SongRotationTest, AnElementSavedWithANewNumberUpdatesBothEntries) {
  open("BrowseService");
  robot.chooseRow(kServices, "?BROWSE:1", 3);  // the second service
  robot.press(kServices, "?Insert:2");
  ASSERT_NE(robot.findWindow(kAddElement), nullptr);
  robot.type(kAddElement, "?SEL:BIBLIOGRAPHYNUMBER", "3");
  EXPECT_EQ(text(kAddElement, "?SEL:TITLE"), "Come Thou Fount");
  robot.type(kAddElement, "?SEL:ELEMENTORDER", "7");
  robot.press(kAddElement, "?OK");
  ASSERT_EQ(robot.findWindow(kAddElement), nullptr);
  EXPECT_EQ(used(3), (SongUseDates{day(2026, 12, 6), day(2026, 12, 6)}));

  // The same element now names another entry: the one it left falls back to the undated
  // service alone, the one it names now takes the date.
  robot.chooseRow(kServices, "?LIST", 3);
  robot.press(kServices, "?Change:2");
  ASSERT_NE(robot.findWindow(kChangeElement), nullptr);
  robot.type(kChangeElement, "?SEL:BIBLIOGRAPHYNUMBER", "4");
  EXPECT_EQ(text(kChangeElement, "?SEL:TITLE"), "Dios está aquí");
  robot.press(kChangeElement, "?OK");
  ASSERT_EQ(robot.findWindow(kChangeElement), nullptr);
  EXPECT_EQ(used(3), kNever);
  EXPECT_EQ(used(4), (SongUseDates{day(2026, 12, 6), day(2026, 12, 6)}));

  // Moved from the second service's Amazing Grace to the first's Be Thou My Vision.
  call("UpdateServiceElement", tables::ServiceElement, Request::Change, amazingLater);
  robot.type(kChangeElement, "?SEL:BIBLIOGRAPHYNUMBER", "2");
  robot.press(kChangeElement, "?OK");
  EXPECT_EQ(used(1), (SongUseDates{day(2026, 11, 29), day(2026, 11, 29)}));
  EXPECT_EQ(used(2), (SongUseDates{day(2026, 11, 29), day(2026, 12, 6)}));
}

TEST_F(SongRotationTest, CancelledFormsChangeNoDates) {
  const auto before = std::vector<SongUseDates>{used(1), used(2), used(3), used(4)};
  auto unchanged = [&] { return std::vector<SongUseDates>{used(1), used(2), used(3), used(4)} == before; };

  call("UpdateServiceElement", tables::ServiceElement, Request::Change, vision);
  robot.type(kChangeElement, "?SEL:BIBLIOGRAPHYNUMBER", "4");
  robot.press(kChangeElement, "?Cancel");
  if (robot.messageBox()) robot.pressMessageButton("No");  // do not save
  ASSERT_EQ(robot.findWindow(kChangeElement), nullptr);
  EXPECT_EQ(stored(tables::ServiceElement, vision, SEL::BIBLIOGRAPHYNUMBER), "2");
  EXPECT_TRUE(unchanged());

  open("BrowseService");
  robot.chooseRow(kServices, "?BROWSE:1", 3);
  robot.press(kServices, "?Insert:2");
  robot.type(kAddElement, "?SEL:BIBLIOGRAPHYNUMBER", "4");
  robot.press(kAddElement, "?Cancel");
  if (robot.messageBox()) robot.pressMessageButton("No");
  ASSERT_EQ(robot.findWindow(kAddElement), nullptr);
  EXPECT_EQ(records(tables::ServiceElement), 8);
  EXPECT_TRUE(unchanged());

  robot.chooseRow(kServices, "?BROWSE:1", 2);
  robot.press(kServices, "?Change");
  robot.type(kChangeService, "?SER:WEEKOFDATE_DATE", shown(day(2027, 3, 7)));
  robot.press(kChangeService, "?Cancel");
  if (robot.messageBox()) robot.pressMessageButton("No");
  ASSERT_EQ(robot.findWindow(kChangeService), nullptr);
  EXPECT_TRUE(unchanged());
}

TEST_F(SongRotationTest, TheBibliographyShowsTimesUsedAndOrdersByLastUseWithTheNeverUsedLast) {
  open("BrowseBibliography");
  ASSERT_NE(robot.findWindow(kBibliography), nullptr);
  // By title; Amazing Grace twice in one service counts once for it.
  EXPECT_EQ(bibliographyColumn("Title"),
            (std::vector<std::string>{"Amazing Grace", "Be Thou My Vision", "Come Thou Fount", "Dios está aquí"}));
  EXPECT_EQ(bibliographyColumn("Times Used"), (std::vector<std::string>{"2", "1", "1", "0"}));
  EXPECT_EQ(bibliographyColumn("Last Used"),
            (std::vector<std::string>{shown(day(2026, 12, 6)), shown(day(2026, 11, 29)), "", ""}));

  robot.chooseTab(kBibliography, "?CurrentTab", "Last Used");
  robot.pressKey(kBibliography, vrt::kHomeKey, "?Browse:1");
  const auto titles = bibliographyColumn("Title");
  ASSERT_EQ(titles.size(), 4u);
  EXPECT_EQ(titles[0], "Amazing Grace");
  EXPECT_EQ(titles[1], "Be Thou My Vision");
  EXPECT_EQ((std::set<std::string>{titles[2], titles[3]}), (std::set<std::string>{"Come Thou Fount", "Dios está aquí"}));
  robot.pressKey(kBibliography, vrt::kEndKey, "?Browse:1");
  const auto atEnd = bibliographyColumn("Last Used");
  EXPECT_EQ(atEnd.back(), "");

  // A song sung on a later Sunday moves to the top of that order, with its count.
  robot.press(kBibliography, "?Close");
  call("UpdateServiceElement", tables::ServiceElement, Request::Change, amazingLater);
  robot.type(kChangeElement, "?SEL:BIBLIOGRAPHYNUMBER", "4");
  robot.press(kChangeElement, "?OK");
  open("BrowseBibliography");
  robot.chooseTab(kBibliography, "?CurrentTab", "Last Used");
  robot.pressKey(kBibliography, vrt::kHomeKey, "?Browse:1");
  EXPECT_EQ(bibliographyColumn("Title").front(), "Dios está aquí");
  EXPECT_EQ(bibliographyColumn("Times Used").front(), "1");
  robot.chooseTab(kBibliography, "?CurrentTab", "Title");
  EXPECT_EQ(bibliographyColumn("Times Used"), (std::vector<std::string>{"1", "1", "1", "1"}));
}

TEST_F(SongRotationTest, WhenTheEntryCannotBeWrittenTheElementIsNotSavedEither) {
  {
    vrt::sql::Database db;
    ASSERT_EQ(db.open("Bibliography.vdb", false, false), SQLITE_OK);
    ASSERT_EQ(db.exec("CREATE TRIGGER keep BEFORE UPDATE ON Bibliography BEGIN SELECT RAISE(ABORT, 'kept'); END"),
              SQLITE_OK);
  }
  call("UpdateServiceElement", tables::ServiceElement, Request::Change, vision);
  robot.type(kChangeElement, "?SEL:BIBLIOGRAPHYNUMBER", "4");
  robot.press(kChangeElement, "?OK");
  ASSERT_NE(robot.messageBox(), nullptr);  // the failure is reported
  for (int shown = 0; robot.messageBox() && shown < 5; ++shown) {
    try {
      robot.pressMessageButton("No");
    } catch (const std::exception&) {
      robot.pressMessageButton("Ok");
    }
  }
  EXPECT_EQ(stored(tables::ServiceElement, vision, SEL::BIBLIOGRAPHYNUMBER), "2");
  EXPECT_EQ(used(2), (SongUseDates{day(2026, 11, 29), day(2026, 11, 29)}));
  EXPECT_EQ(used(4), kNever);
}

TEST_F(SongRotationTest, ANewServiceBringsInTheSongsAddedBeforeItWasSavedAndGivenUpTakesThemOut) {
  constexpr const char* kAddService = "Adding a Service Record";
  auto newServiceWithSong = [&](int entry) {
    open("UpdateService", Request::Insert, &tables::Service);
    ASSERT_NE(robot.findWindow(kAddService), nullptr);
    robot.type(kAddService, "?SER:WEEKOFDATE_DATE", shown(day(2027, 1, 3)));
    robot.chooseTab(kAddService, "?CurrentTab", "Service Elements");
    robot.press(kAddService, "?Insert:13");
    ASSERT_NE(robot.findWindow(kAddElement), nullptr);
    robot.type(kAddElement, "?SEL:BIBLIOGRAPHYNUMBER", std::to_string(entry));
    robot.press(kAddElement, "?OK");
    ASSERT_EQ(robot.findWindow(kAddElement), nullptr);
    EXPECT_EQ(used(entry), kNever) << "the service has no date until it is saved";
  };
  newServiceWithSong(4);
  robot.press(kAddService, "?OK");
  ASSERT_EQ(robot.findWindow(kAddService), nullptr);
  EXPECT_EQ(used(4), (SongUseDates{day(2027, 1, 3), day(2027, 1, 3)}));

  newServiceWithSong(3);
  robot.press(kAddService, "?Cancel");
  while (robot.messageBox()) robot.pressMessageButton("No");
  ASSERT_EQ(robot.findWindow(kAddService), nullptr);
  EXPECT_EQ(used(3), kNever);
  EXPECT_EQ(records(tables::ServiceElement), 9);
}

TEST_F(SongRotationTest, TheEntrysFormShowsItsDatesWithoutTakingThemTyped) {
  constexpr const char* kChangeEntry = "Changing a Bibliography Record";
  call("UpdateBibliography", tables::Bibliography, Request::Change, 1);
  ASSERT_NE(robot.findWindow(kChangeEntry), nullptr);
  EXPECT_EQ(text(kChangeEntry, "?BBL:FIRSTUSED_DATE"), shown(day(2026, 11, 29)));
  EXPECT_EQ(text(kChangeEntry, "?BBL:LASTUSED_DATE"), shown(day(2026, 12, 6)));
  EXPECT_TRUE(robot.control(kChangeEntry, "?BBL:FIRSTUSED_DATE").readOnly());
  EXPECT_TRUE(robot.control(kChangeEntry, "?BBL:LASTUSED_DATE").readOnly());
  robot.type(kChangeEntry, "?BBL:TITLE", "Amazing Grace (My Chains Are Gone)");
  robot.press(kChangeEntry, "?OK");
  EXPECT_EQ(used(1), (SongUseDates{day(2026, 11, 29), day(2026, 12, 6)}));
}
