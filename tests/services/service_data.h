#pragma once
// A small parish: performers, topics, a series and three services, two with elements,
// Bible references, key words, statistics and associated files.
#include <exception>
#include <string>

#include "runtime/store/sqlite_db.h"
#include "runtime/text/dates.h"
#include "services_fixture.h"

namespace vesp::testing {

class ServiceDataTest : public ServicesTest {
 protected:
  void SetUp() override {
    ServicesTest::SetUp();
    onThread([this] {
      ann = add(tables::Performers, [](vrt::RecordRef r) {
        r.set(PER_FIRSTNAME, "Ann");
        r.set(PER_LASTNAME, "Lee");
      });
      bob = add(tables::Performers, [](vrt::RecordRef r) {
        r.set(PER_FIRSTNAME, "Bob");
        r.set(PER_LASTNAME, "Marsh");
      });
      choir = add(tables::PerformerGroupHeader, [](vrt::RecordRef r) { r.set(PGH_DESCRIPTION, "Choir"); });
      hope = add(tables::Topic, [](vrt::RecordRef r) { r.set(TOP_TOPIC, "Hope"); });
      joy = add(tables::Topic, [](vrt::RecordRef r) { r.set(TOP_TOPIC, "Joy"); });
      advent = add(tables::SermonSeries, [](vrt::RecordRef r) { r.set(SSE_NAME, "Advent"); });
      lent = add(tables::SermonSeries, [](vrt::RecordRef r) { r.set(SSE_NAME, "Lent"); });
      first = add(tables::Service, [this](vrt::RecordRef r) {
        r.set(SER_TITLE, "Waiting");
        r.set(SER_SERMONSERIES, static_cast<double>(advent));
        r.set(SER_WEEKOFDATE_DATE, vrt::dateFromYmd(2026, 11, 29));
        r.set(SER_SPEAKER, static_cast<double>(ann));
        r.set(SER_WORSHIPLEADER, static_cast<double>(bob));
        r.set(SER_TOPIC1, static_cast<double>(hope));
        r.set(SER_TOPIC3, static_cast<double>(joy));
        r.set(SER_DATECREATED_DATE, vrt::dateFromYmd(2026, 1, 2));
      });
      second = add(tables::Service, [this](vrt::RecordRef r) {
        r.set(SER_TITLE, "Preparing");
        r.set(SER_SERMONSERIES, static_cast<double>(advent));
        r.set(SER_WEEKOFDATE_DATE, vrt::dateFromYmd(2026, 12, 6));
        r.set(SER_SPEAKER, static_cast<double>(bob));
      });
      undated = add(tables::Service, [](vrt::RecordRef r) { r.set(SER_TITLE, "Undated"); });
      element(first, 2, "Psalm 23", ann);
      element(first, 1, "Opening hymn", 0, choir);
      element(second, 1, "Candle lighting", bob);
      add(tables::BibleRef, [this](vrt::RecordRef r) {
        r.set(BIB_SERVICENUMBER, static_cast<double>(first));
        r.set(BIB_BIBLEVERSION, "NIV");
        r.set(BIB_BOOK, "Isaiah");
      });
      add(tables::KeyWords, [this](vrt::RecordRef r) {
        r.set(KWD_SERVICENUMBER, static_cast<double>(first));
        r.set(KWD_KEYWORD, "Advent");
      });
      add(tables::Statistics, [this](vrt::RecordRef r) {
        r.set(STA_SERVICENUMBER, static_cast<double>(first));
        r.set(STA_TYPE, "Sunday");
        r.set(STA_ADULT, 120.0);
      });
      add(tables::AssociatedFiles, [this](vrt::RecordRef r) {
        r.set(ASF_SERVICENUMBER, static_cast<double>(first));
        r.set(ASF_TYPE, "Video");
        r.set(ASF_DESCRIPTION, "Advent greeting");
        r.set(ASF_FILELOCATION, "/media/advent.mp4");
      });
    });
  }

  static void element(std::int64_t service, int order, const char* title, std::int64_t performer,
                      std::int64_t group = 0) {
    add(tables::ServiceElement, [&](vrt::RecordRef r) {
      r.set(SEL_SERVICENUMBER, static_cast<double>(service));
      r.set(SEL_ELEMENTORDER, static_cast<double>(order));
      r.set(SEL_TITLE, title);
      r.set(SEL_TYPE, "Song");
      r.set(SEL_PRESERVICE, "N");
      r.set(SEL_PERFORMER, static_cast<double>(performer));
      r.set(SEL_PERFORMERGROUP, static_cast<double>(group));
    });
  }

  // Makes every delete from `table` (in its file) fail, as a damaged or locked file would.
  void keepRowsOf(const std::string& table) {
    vrt::sql::Database db;
    ASSERT_EQ(db.open(table + ".vdb", false, false), SQLITE_OK);
    ASSERT_EQ(db.exec("CREATE TRIGGER keep BEFORE DELETE ON " + table + " BEGIN SELECT RAISE(ABORT, 'kept'); END"),
              SQLITE_OK);
  }

  // Answers the failure's messages as a user who wants no retry: No where offered, else Ok.
  void declineEveryMessage() {
    for (int shown = 0; robot.messageBox() && shown < 5; ++shown) {
      try {
        robot.pressMessageButton("No");
      } catch (const std::exception&) {
        robot.pressMessageButton("Ok");
      }
    }
  }

  std::int64_t ann = 0, bob = 0, choir = 0, hope = 0, joy = 0, advent = 0, lent = 0;
  std::int64_t first = 0, second = 0, undated = 0;
};

inline constexpr const char* kServices = "Browse the Service File";
inline constexpr const char* kChangeService = "Changing a Service Record";

}  // namespace vesp::testing
