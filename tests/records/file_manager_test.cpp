#include <sys/stat.h>

#include <fstream>
#include <thread>

#include "records/lookup_memo.h"
#include "records/open_service.h"
#include "records_fixture.h"
#include "runtime/data/errors.h"
#include "runtime/store/upgrader.h"

using namespace vesp;
using namespace vesp::testing;

namespace {

class FileManagerTest : public RecordsTest {
 protected:
  FileManager& services() { return Access(tables::Service); }
  vrt::RecordBuffer& service() { return Buffer(tables::Service); }

  void addService(int number, const char* title) {
    addRaw(tables::Service, [&](vrt::RecordRef r) {
      r.set(SER_SERVICENUMBER, number);
      r.set(SER_TITLE, title);
    });
  }
};

}  // namespace

TEST_F(FileManagerTest, AutoNumberingTakesTheHighestPlusOneAndReservesIt) {
  FileManager& fm = services();
  ASSERT_EQ(fm.Open(), Level::Benign);
  ASSERT_EQ(fm.ClearForInsert(), Level::Benign);
  EXPECT_EQ(service().get(SER_SERVICENUMBER), 1);  // an empty table starts at 1
  EXPECT_TRUE(fm.AUTOINCDONE());
  EXPECT_EQ(TableFile(tables::Service).records(), 1);  // the number is held by a real record
  service().set(SER_TITLE, "First");
  ASSERT_EQ(fm.Insert(), Level::Benign);
  EXPECT_FALSE(fm.AUTOINCDONE());
  EXPECT_EQ(TableFile(tables::Service).records(), 1);  // changed in place, not added again
  // Whatever the gaps below, the next number follows the highest.
  for (int n : {5, 17, 41}) addService(n, "older");
  ASSERT_EQ(fm.ClearForInsert(), Level::Benign);
  EXPECT_EQ(service().get(SER_SERVICENUMBER), 42);
  service().set(SER_TITLE, "Newest");
  ASSERT_EQ(fm.Insert(), Level::Benign);
  service().set(SER_SERVICENUMBER, 42);
  ASSERT_EQ(fm.Fetch(SER_ServiceNumberKey.index), Level::Benign);
  EXPECT_EQ(service().get(SER_TITLE), "Newest");
  // An insert without a reservation reserves on its own.
  service().clearAll(TableFile(tables::Service).schema().fields);
  service().set(SER_TITLE, "Direct");
  ASSERT_EQ(fm.Insert(), Level::Benign);
  EXPECT_EQ(service().get(SER_SERVICENUMBER), 43);
  EXPECT_TRUE(display.messages.empty());
}

TEST_F(FileManagerTest, ATwoComponentKeyNumbersWithinItsGroup) {
  // A table of our own: numbered within a group.
  vrt::TableSchema schema = *dict::table("KeyWords");
  schema.label = "Numbered";
  schema.keys = {schema.keys[1]};
  schema.keys[0].components = {1, 0};  // (group, number), numbered on the number
  schema.keys[0].autoNumber = true;
  schema.keys[0].unique = true;
  schema.keys[0].label = "KWD:GroupNumberKey";
  vrt::DataFile file(schema);
  FileManager fm;
  fm.Setup(file, errorManager());
  ASSERT_EQ(fm.Open(), Level::Benign);
  auto add = [&](int group) {
    fm.BUFFER()->clearAll(schema.fields);
    fm.BUFFER()->set(KWD_SERVICENUMBER, group);
    EXPECT_EQ(fm.Insert(), Level::Benign);
    return fm.BUFFER()->get(KWD_KEYWORDNUMBER);
  };
  EXPECT_EQ(add(7), 1);
  EXPECT_EQ(add(7), 2);
  EXPECT_EQ(add(3), 1);  // a new leading value starts again at 1
  EXPECT_EQ(add(9), 1);
  EXPECT_EQ(add(7), 3);
  EXPECT_EQ(add(3), 2);
  fm.Shutdown();
}

TEST_F(FileManagerTest, ADuplicateIsRefusedNamingTheKey) {
  FileManager& fm = Access(tables::Lookups);
  ASSERT_EQ(fm.Open(), Level::Benign);
  vrt::RecordBuffer& b = Buffer(tables::Lookups);
  auto add = [&](int list, const char* text) {
    static_cast<void>(fm.ClearForInsert());
    b.set(LOO_LOOKUPNUMBER, list);
    b.set(LOO_LOOKUPTYPE, text);
    return fm.Insert();
  };
  EXPECT_EQ(add(1, "Family"), Level::Benign);
  EXPECT_EQ(add(1, "Health"), Level::Benign);
  EXPECT_EQ(add(2, "Family"), Level::Benign);
  EXPECT_EQ(add(1, "FAMILY"), Level::Notify);  // the same text but for case
  ASSERT_EQ(display.messages.size(), 1u);
  EXPECT_EQ(display.messages[0].title, "Duplicate Key Error");
  EXPECT_EQ(lastShown(), "Adding this record creates a duplicate entry for the key: LOO:LookupTypeKey");
  EXPECT_EQ(TableFile(tables::Lookups).records(), 3);
  // Without asking, nothing is shown, though the message is recorded.
  b.set(LOO_LOOKUPTYPE, "health");
  EXPECT_EQ(fm.Insert(false), Level::Notify);
  EXPECT_EQ(display.messages.size(), 1u);
  EXPECT_EQ(fm.LASTERROR(), Msg::DuplicateKey);
}

TEST_F(FileManagerTest, AChangeByAnotherStationIsNotOverwritten) {
  addService(1, "As read");
  FileManager& fm = services();
  ASSERT_EQ(fm.Open(), Level::Benign);
  service().set(SER_SERVICENUMBER, 1);
  ASSERT_EQ(fm.Fetch(SER_ServiceNumberKey.index), Level::Benign);
  // Another station: a thread with its own copy of the dictionary.
  std::thread([] {
    SetupDictionaryForThread();
    FileManager& theirs = Access(tables::Service);
    static_cast<void>(theirs.Open());
    Buffer(tables::Service).set(SER_SERVICENUMBER, 1);
    EXPECT_EQ(theirs.Fetch(SER_ServiceNumberKey.index), Level::Benign);
    Buffer(tables::Service).set(SER_TITLE, "Theirs");
    EXPECT_EQ(theirs.Update(), Level::Benign);
    static_cast<void>(theirs.Close());
    KillDictionaryForThread();
  }).join();
  service().set(SER_TITLE, "Mine");
  EXPECT_EQ(fm.Update(2), Level::Notify);
  ASSERT_FALSE(display.messages.empty());
  EXPECT_EQ(display.messages.back().title, "Record Was Not Updated");
  EXPECT_NE(lastShown().find("Use the Ditto Button or Ctrl+H"), std::string::npos);  // from a form: message 8
  EXPECT_EQ(service().get(SER_TITLE), "Theirs");  // the other version is what the user now sees
  // Having seen it, the user can save again.
  service().set(SER_TITLE, "Mine after all");
  EXPECT_EQ(fm.Update(2), Level::Benign);
  // Not from a form: message 7.
  std::thread([] {
    SetupDictionaryForThread();
    static_cast<void>(Access(tables::Service).Open());
    Buffer(tables::Service).set(SER_SERVICENUMBER, 1);
    static_cast<void>(Access(tables::Service).Fetch(SER_ServiceNumberKey.index));
    Buffer(tables::Service).set(SER_TITLE, "Theirs again");
    static_cast<void>(Access(tables::Service).Update());
    KillDictionaryForThread();
  }).join();
  EXPECT_EQ(fm.Update(1), Level::Notify);
  EXPECT_EQ(lastShown(), "This record was changed by another station.");
}

TEST_F(FileManagerTest, ATableNoOneOpenedIsNotOpenedByAReader) {
  FileManager& fm = services();
  service().set(SER_SERVICENUMBER, 1);
  EXPECT_EQ(fm.Fetch(SER_ServiceNumberKey.index), Level::Fatal);
  EXPECT_EQ(lastShown(), "Attempt to use file (Service) before it was opened  Press OK to end this application");
  EXPECT_EQ(display.messages.back().title, "File Usage Error");
  EXPECT_EQ(endedWith, std::vector<Level>{Level::Fatal});  // a program error ends the program
  EXPECT_FALSE(TableFile(tables::Service).isOpen());
  EXPECT_FALSE(fm.USED());
}

TEST_F(FileManagerTest, AMissingFileIsCreatedOnFirstUseAndOpeningKeepsTheBuffer) {
  // Whether the table is there, in its file or on the server.
  const auto made = [] { return vrt::storedSchema(vrt::DataFile(dict::schemaOf(tables::Service))).has_value(); };
  FileManager& fm = services();
  ASSERT_EQ(fm.Open(), Level::Benign);
  EXPECT_FALSE(fm.USED());  // lazily: nothing made yet
  EXPECT_FALSE(made());
  service().set(SER_SERVICENUMBER, 12);
  EXPECT_EQ(fm.Fetch(SER_ServiceNumberKey.index), Level::Notify);  // none, and no message
  EXPECT_TRUE(fm.USED());
  EXPECT_TRUE(made());
  EXPECT_EQ(service().get(SER_SERVICENUMBER), 12);  // the physical open did not clear it
  EXPECT_TRUE(display.messages.empty());
  static_cast<void>(fm.Close());
  EXPECT_FALSE(TableFile(tables::Service).isOpen());
}

TEST_F(FileManagerTest, WhatATableDeclaresBeforeItsFirstOpenHolds) {
  // Whether the table is there, in its file or on the server.
  const auto made = [] { return vrt::storedSchema(vrt::DataFile(dict::schemaOf(tables::Topic))).has_value(); };
  // Not to be made, and opened at once: the missing file is reported at Open, and not made.
  FileManager& fm = Access(tables::Topic);
  fm.Configure({.CREATE = false, .LAZYOPEN = false});
  EXPECT_NE(fm.Open(), Level::Benign);
  EXPECT_FALSE(made());
  ASSERT_EQ(display.messages.size(), 1u);
  EXPECT_EQ(display.messages[0].text.rfind("File Topic could not be opened.", 0), 0u) << display.messages[0].text;
  EXPECT_FALSE(fm.USED());
  // Declared with the defaults again, the table is made at its first use.
  fm.Configure({});
  ASSERT_EQ(fm.Open(), Level::Benign);
  EXPECT_EQ(fm.Fetch(TOP_TopicNumberKey.index), Level::Notify);
  EXPECT_TRUE(fm.USED());
  EXPECT_TRUE(made());
  static_cast<void>(fm.Close());
}

TEST_F(FileManagerTest, AReadOnlyFileOpensReadOnlyAfterSayingSo) {
  addService(1, "x");
  static_cast<void>(services().Close());
  TableFile(tables::Service).close();
  ASSERT_EQ(::chmod("Service.vdb", 0444), 0);
  FileManager& fm = services();
  ASSERT_EQ(fm.Open(), Level::Benign);
  service().set(SER_SERVICENUMBER, 1);
  EXPECT_EQ(fm.Fetch(SER_ServiceNumberKey.index), Level::Benign);
  ASSERT_FALSE(display.messages.empty());
  EXPECT_EQ(display.messages[0].text, "Could not get write access to Service so trying read-only.");
  EXPECT_TRUE(TableFile(tables::Service).isReadOnly());
  // Other hooks leave the fallback as it was: opened again, read-only without a second word.
  fm.Configure({.ValidateRecord = [](vrt::RecordRef) { return RecordVerdict::Accept; }});
  static_cast<void>(fm.Close());
  EXPECT_FALSE(TableFile(tables::Service).isOpen());
  ASSERT_EQ(fm.Open(), Level::Benign);
  const std::size_t shown = display.messages.size();
  EXPECT_EQ(fm.Fetch(SER_ServiceNumberKey.index), Level::Benign);
  EXPECT_EQ(display.messages.size(), shown);
  EXPECT_TRUE(TableFile(tables::Service).isReadOnly());
  ::chmod("Service.vdb", 0644);
}

TEST_F(FileManagerTest, AFileNoOneCanReadEndsWithTheOpenError) {
  addService(1, "x");
  TableFile(tables::Service).close();
  ASSERT_EQ(::chmod("Service.vdb", 0), 0);
  FileManager& fm = services();
  service().set(SER_SERVICENUMBER, 1);
  EXPECT_NE(fm.Fetch(SER_ServiceNumberKey.index), Level::Benign);
  ASSERT_GE(display.messages.size(), 2u);
  EXPECT_EQ(display.messages[0].text, "Could not get write access to Service so trying read-only.");
  EXPECT_EQ(display.messages.back().title, "File Access Error");
  EXPECT_EQ(display.messages.back().text.rfind("File Service could not be opened.  Error: Access Denied (5).", 0), 0u)
      << display.messages.back().text;
  ::chmod("Service.vdb", 0644);
}

TEST_F(FileManagerTest, ADriverErrorShowsTheDriversOwnTextAndCode) {
  { std::ofstream("Topic.vdb") << "this is not a data file at all, just some words to fill a page"; }
  FileManager& fm = Access(tables::Topic);
  ASSERT_EQ(fm.Open(), Level::Benign);
  EXPECT_NE(fm.Fetch(TOP_TopicNumberKey.index), Level::Benign);
  EXPECT_EQ(lastShown(),
            "File Topic could not be opened.  Error: file is not a database (26).  Press OK to end this application");
  EXPECT_EQ(endedWith, std::vector<Level>{Level::Fatal});
}

TEST_F(FileManagerTest, StatesAndBufferCopiesComeBack) {
  for (int n = 1; n <= 5; ++n) addService(n, "s");
  FileManager& fm = services();
  TableFile(tables::Service).setToStart(SER_ServiceNumberKey.index);
  ASSERT_EQ(fm.Next(), Level::Benign);
  ASSERT_EQ(fm.Next(), Level::Benign);
  int id = fm.SaveState();
  const std::string at = fm.Position();
  ASSERT_EQ(fm.Next(), Level::Benign);
  service().set(SER_TITLE, "scribbled");
  fm.RestoreState(id);
  EXPECT_EQ(id, 0);
  EXPECT_EQ(service().get(SER_SERVICENUMBER), 2);
  EXPECT_EQ(service().get(SER_TITLE), "s");
  ASSERT_EQ(fm.Next(), Level::Benign);
  EXPECT_EQ(service().get(SER_SERVICENUMBER), 3);
  int copy = fm.PushBufferCopy();
  service().set(SER_TITLE, "changed");
  fm.PopBufferCopy(copy, true);
  EXPECT_EQ(service().get(SER_TITLE), "s");
  ASSERT_EQ(fm.RereadAt(at), Level::Benign);
  EXPECT_EQ(service().get(SER_SERVICENUMBER), 2);
  // Past the end: 5, no message.
  TableFile(tables::Service).setToEnd(SER_ServiceNumberKey.index);
  EXPECT_EQ(fm.Next(), Level::Notify);
  EXPECT_TRUE(fm.ATEOF());
  EXPECT_TRUE(display.messages.empty());
}

TEST_F(FileManagerTest, DeleteAsksFirstAndTakesNoForAnAnswer) {
  addService(1, "x");
  FileManager& fm = services();
  service().set(SER_SERVICENUMBER, 1);
  ASSERT_EQ(fm.Fetch(SER_ServiceNumberKey.index), Level::Benign);
  display.Answer(Button::No);
  EXPECT_EQ(fm.Delete(true), Level::Cancel);
  EXPECT_EQ(display.messages.back().title, "Confirm Delete");
  EXPECT_EQ(TableFile(tables::Service).records(), 1);
  display.Answer(Button::Yes);
  EXPECT_EQ(fm.Delete(true), Level::Benign);
  EXPECT_EQ(TableFile(tables::Service).records(), 0);
}

// A page's look-ups read each record once; a write, or the end of the page, forgets them.
TEST_F(FileManagerTest, WhileALookupMemoLivesAFetchIsReadOnceAndAWriteForgetsIt) {
  addService(1, "As read");
  addService(2, "Second");
  FileManager& fm = services();
  ASSERT_EQ(fm.Open(), Level::Benign);
  const auto fetch = [&](int number) {
    service().set(SER_SERVICENUMBER, number);
    EXPECT_EQ(fm.Fetch(SER_ServiceNumberKey.index), Level::Benign);
    return std::string(service().get(SER_TITLE));
  };
  const auto changeElsewhere = [](const char* title) {
    std::thread([title] {
      SetupDictionaryForThread();
      FileManager& theirs = Access(tables::Service);
      static_cast<void>(theirs.Open());
      Buffer(tables::Service).set(SER_SERVICENUMBER, 1);
      EXPECT_EQ(theirs.Fetch(SER_ServiceNumberKey.index), Level::Benign);
      Buffer(tables::Service).set(SER_TITLE, title);
      EXPECT_EQ(theirs.Update(), Level::Benign);
      static_cast<void>(theirs.Close());
      KillDictionaryForThread();
    }).join();
  };
  {
    LookupMemo page;
    EXPECT_EQ(fetch(1), "As read");
    changeElsewhere("Changed elsewhere");
    EXPECT_EQ(fetch(2), "Second");
    EXPECT_EQ(fetch(1), "As read");  // remembered, change count and all:
    service().set(SER_TITLE, "Written here");
    EXPECT_EQ(fm.Update(), Level::Notify);  // a save over the other station's change is refused
    EXPECT_EQ(fetch(1), "Changed elsewhere");  // and the write forgot what was remembered
  }
  changeElsewhere("After the page");
  EXPECT_EQ(fetch(1), "After the page");
}
