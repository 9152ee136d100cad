// The file manager's failure paths: collisions, numbering that cannot succeed, damaged keys,
// files that cannot be made, and records held by another program.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>

#include "other_program.h"
#include "records_fixture.h"
#include "support/other_station.h"

using namespace vesp;
using namespace vesp::testing;

namespace {

class FileManagerFailureTest : public RecordsTest {
 protected:
  void addTopic(int number) {
    addRaw(tables::Topic, [&](vrt::RecordRef r) { r.set(TOP_TOPICNUMBER, number); });
  }
  // Closes the table as a program that ended would, so that the next use opens it again.
  void closeTable(const dict::TableDecl& table) {
    TableFile(table).close();
  }
  std::vector<std::string> shownTitles() const {
    std::vector<std::string> out;
    for (const auto& m : display.messages) out.push_back(m.title);
    return out;
  }
};

}  // namespace

TEST_F(FileManagerFailureTest, ACollisionWithTheCurrentRecordStillNamesTheKey) {
  FileManager& fm = Access(tables::Lookups);
  ASSERT_EQ(fm.Open(), Level::Benign);
  vrt::RecordBuffer& b = Buffer(tables::Lookups);
  auto add = [&](const char* text) {
    static_cast<void>(fm.ClearForInsert());
    b.set(LOO_LOOKUPNUMBER, 1);
    b.set(LOO_LOOKUPTYPE, text);
    return fm.Insert();
  };
  ASSERT_EQ(add("Family"), Level::Benign);
  EXPECT_EQ(add("family"), Level::Notify);
  EXPECT_EQ(lastShown(), "Adding this record creates a duplicate entry for the key: LOO:LookupTypeKey");
}

TEST_F(FileManagerFailureTest, NumberingThatKeepsCollidingAsksWithTheDriversError) {
  // Numbered, and at most one record per service: every placeholder for service 5 collides.
  vrt::TableSchema schema = *dict::table("KeyWords");
  schema.label = "OnePerService";
  vrt::KeyDesc perService = schema.keys[1];
  perService.label = "KWD:OnePerServiceKey";
  perService.name = "OnePerServiceKey";
  perService.components = {dict::idx::KWD::SERVICENUMBER};
  perService.unique = true;
  schema.keys[1] = perService;
  vrt::DataFile file(schema);
  FileManager fm;
  fm.Setup(file, errorManager());
  ASSERT_EQ(fm.Open(), Level::Benign);
  fm.BUFFER()->clearAll(schema.fields);
  fm.BUFFER()->set(KWD_SERVICENUMBER, 5);
  ASSERT_EQ(fm.Insert(), Level::Benign);
  fm.BUFFER()->clearAll(schema.fields);
  fm.BUFFER()->set(KWD_SERVICENUMBER, 5);
  display.Answer(Button::Yes);  // try again: three more attempts
  display.Answer(Button::No);
  EXPECT_EQ(fm.ReserveNextNumber(true), Level::Notify);
  ASSERT_EQ(display.messages.size(), 2u);
  for (const auto& m : display.messages) {
    EXPECT_EQ(m.title, "Auto Increment Error");
    EXPECT_EQ(m.text,
              "Attempts to automatically number this record have failed.|File: OnePerService|"
              "Key: KWD:OnePerServiceKey|Error: Creates Duplicate Key (40).|Try Again?");
  }
  EXPECT_FALSE(fm.AUTOINCDONE());
  EXPECT_EQ(file.records(), 1);
  // Without asking nothing is shown; the failure is recorded all the same.
  EXPECT_EQ(fm.ReserveNextNumber(false), Level::Notify);
  EXPECT_EQ(display.messages.size(), 2u);
  EXPECT_EQ(fm.LASTERROR(), Msg::AutoNumberFailed);
  // Another service numbers at once.
  fm.BUFFER()->set(KWD_SERVICENUMBER, 6);
  EXPECT_EQ(fm.ReserveNextNumber(true), Level::Benign);
  EXPECT_EQ(fm.BUFFER()->get(KWD_KEYWORDNUMBER), 2);
  fm.Shutdown();
}

TEST_F(FileManagerFailureTest, AMissingIndexIsRebuiltAfterSayingSo) {
  for (int n : {3, 1, 2}) addTopic(n);
  const std::string index = TableFile(tables::Topic).layout().indexName(TOP_TopicNumberKey.index);
  closeTable(tables::Topic);
  ASSERT_TRUE(OtherProgram("Topic.vdb").exec("DROP INDEX \"" + index + "\""));
  Buffer(tables::Topic).set(TOP_TOPICNUMBER, 2);
  EXPECT_EQ(Access(tables::Topic).Fetch(TOP_TopicNumberKey.index), Level::Benign);
  EXPECT_EQ(shownTitles(), std::vector<std::string>{"Invalid Key"});
  EXPECT_EQ(lastShown(), "Topic key file is invalid. Key must be rebuilt.");
  EXPECT_TRUE(endedWith.empty());
}

TEST_F(FileManagerFailureTest, AKeyThatCannotBeRebuiltEndsTheProgram) {
  addTopic(1);
  const std::string index = TableFile(tables::Topic).layout().indexName(TOP_TopicNumberKey.index);
  closeTable(tables::Topic);
  OtherProgram other("Topic.vdb");
  ASSERT_TRUE(other.exec("DROP INDEX \"" + index + "\""));
  ASSERT_TRUE(other.exec("BEGIN IMMEDIATE"));  // the rebuild cannot write
  Buffer(tables::Topic).set(TOP_TOPICNUMBER, 1);
  EXPECT_EQ(Access(tables::Topic).Fetch(TOP_TopicNumberKey.index), Level::Fatal);
  EXPECT_EQ(shownTitles(), (std::vector<std::string>{"Invalid Key", "Key was not built"}));
  EXPECT_EQ(lastShown().rfind("Error: (", 0), 0u);
  EXPECT_NE(lastShown().find(") repairing key for Topic.  Press OK to end this application"), std::string::npos)
      << lastShown();
  EXPECT_EQ(endedWith, std::vector<Level>{Level::Fatal});
}

TEST_F(FileManagerFailureTest, AFileThatCannotBeMadeEndsTheProgram) {
  // A link to nowhere stands where the new file would go: the file is missing, yet the
  // made file cannot be put in its place.
  ASSERT_EQ(::symlink("no-such-folder/Topic.vdb", "Topic.vdb"), 0);
  ASSERT_EQ(Access(tables::Topic).Open(), Level::Benign);
  EXPECT_EQ(Access(tables::Topic).Fetch(TOP_TopicNumberKey.index), Level::Fatal);
  EXPECT_EQ(shownTitles(), std::vector<std::string>{"File Creation Error"});
  EXPECT_EQ(lastShown(), "Error: (File already exists (5)) creating Topic.  Press OK to end this application");
  EXPECT_EQ(endedWith, std::vector<Level>{Level::Fatal});
  EXPECT_FALSE(std::ifstream("Topic.vdb").good());
}

TEST_F(FileManagerFailureTest, TwoStationsMakingTheSameMissingFileAtOnceBothKeepTheirRecord) {
  // Each round two processes in this folder find Topic missing and make it at the same
  // moment; neither may fail, nor replace the file the other already wrote to.
  for (int round = 0; round < 20; ++round) {
    int start[2];
    ASSERT_EQ(::pipe(start), 0);
    pid_t stations[2];
    for (int s = 0; s < 2; ++s) {
      stations[s] = ::fork();
      if (stations[s] == 0) {
        ::close(start[1]);
        char go;
        if (::read(start[0], &go, 1) < 0) std::_Exit(2);
        FileManager& fm = Access(tables::Topic);
        if (fm.Open() != Level::Benign) std::_Exit(3);
        Buffer(tables::Topic).set(TOP_TOPICNUMBER, s + 1);
        std::_Exit(fm.Insert(false) == Level::Benign && display.messages.empty() && endedWith.empty() ? 0 : 4);
      }
    }
    ::close(start[0]);
    ::close(start[1]);  // both go now
    for (pid_t pid : stations) EXPECT_EQ(vtest::waitForStation(pid), 0) << "round " << round;
    ASSERT_EQ(Access(tables::Topic).Open(), Level::Benign);
    ASSERT_EQ(Access(tables::Topic).Use(), Level::Benign);
    EXPECT_EQ(TableFile(tables::Topic).records(), 2) << "round " << round;
    static_cast<void>(Access(tables::Topic).Close());
    TableFile(tables::Topic).close();
    ASSERT_EQ(std::remove("Topic.vdb"), 0);
  }
}

TEST_F(FileManagerFailureTest, PreviousReadsBackToTheStart) {
  for (int n : {2, 3, 1}) addTopic(n);
  FileManager& fm = Access(tables::Topic);
  TableFile(tables::Topic).setToEnd(TOP_TopicNumberKey.index);
  std::vector<int> seen;
  while (fm.Previous() == Level::Benign) seen.push_back(Buffer(tables::Topic).get(TOP_TOPICNUMBER));
  EXPECT_EQ(seen, (std::vector<int>{3, 2, 1}));
  EXPECT_TRUE(fm.ATEOF());
  EXPECT_TRUE(display.messages.empty());
  // Past the start, the next read forward is the first record again.
  EXPECT_EQ(fm.Next(), Level::Benign);
  EXPECT_EQ(Buffer(tables::Topic).get(TOP_TOPICNUMBER), 1);
  EXPECT_FALSE(fm.ATEOF());
}

TEST_F(FileManagerFailureTest, AHeldRecordIsReportedAndSkippingItDoesNotLoop) {
  for (int n : {1, 2}) addTopic(n);
  FileManager& fm = Access(tables::Topic);
  ASSERT_TRUE(TableFile(tables::Topic).sendOption("Recover=0"));  // do not wait for the holder
  TableFile(tables::Topic).setToStart(TOP_TopicNumberKey.index);
  {
    OtherProgram other("Topic.vdb");
    ASSERT_TRUE(other.exec("BEGIN EXCLUSIVE"));
    EXPECT_EQ(fm.Next(), Level::Notify);
    EXPECT_EQ(shownTitles(), std::vector<std::string>{"Record not read"});
    EXPECT_EQ(lastShown(), "A record held by another station was encountered reading from the Topic file.");
    EXPECT_EQ(fm.Next(false), Level::Notify);
    EXPECT_EQ(display.messages.size(), 1u);
    fm.Configure({.SKIPHELDRECORDS = true});
    EXPECT_EQ(fm.Next(false), Level::Notify);
    EXPECT_EQ(fm.LASTERROR(), Msg::RecordHeld);
  }
  // Once the other program lets go, reading goes on where it stood.
  EXPECT_EQ(fm.Next(), Level::Benign);
  EXPECT_EQ(Buffer(tables::Topic).get(TOP_TOPICNUMBER), 1);
}
