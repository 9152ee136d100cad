#include <thread>

#include "records_fixture.h"

using namespace vesp;
using namespace vesp::testing;

TEST_F(RecordsTest, EachThreadHasItsOwnCopyOfEveryTable) {
  Buffer(tables::Service).set(SER_TITLE, "thread one");
  std::string seenThere;
  FileManager* theirs = nullptr;
  std::thread([&] {
    EXPECT_FALSE(DictionaryIsSetUp());
    SetupDictionaryForThread();
    seenThere = Buffer(tables::Service).get(SER_TITLE);
    Buffer(tables::Service).set(SER_TITLE, "thread two");
    theirs = &Access(tables::Service);
    EXPECT_EQ(fileManagerFor("service"), theirs);
    KillDictionaryForThread();
    EXPECT_EQ(fileManagerFor("Service"), nullptr);  // the kill unregistered it
  }).join();
  EXPECT_EQ(seenThere, "");
  EXPECT_NE(theirs, &Access(tables::Service));
  EXPECT_EQ(Buffer(tables::Service).get(SER_TITLE), "thread one");
  EXPECT_EQ(fileManagerFor("Service"), &Access(tables::Service));
  EXPECT_EQ(relationManagerFor("SERVICE"), &Relate(tables::Service));
  // A table's file manager knows its keys as the dictionary declares them.
  FileManager& fm = Access(tables::SermonSeries);
  static_cast<void>(fm.Open());
  static_cast<void>(fm.Use());
  ASSERT_EQ(fm.KEYS().size(), 3u);
  EXPECT_EQ(fm.KEYS()[0].description, "SSE:NameKey");
  EXPECT_EQ(fm.KEYS()[0].FIELDS[0].FIELDNAME, "UPPER(SSE:NAME)");
  EXPECT_TRUE(fm.KEYS()[1].AUTOINC);
  EXPECT_EQ(fm.PRIMARYKEY(), 2);
  EXPECT_EQ(Access(tables::PrayerRequest).PRIMARYKEY(), 0);
}
