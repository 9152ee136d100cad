// Relation-wide changes and deletions that fail part-way, and what the user then sees.
#include <fstream>

#include "relation_fixture.h"

using namespace vesp;
using namespace vesp::testing;

namespace {

class RelationFailureTest : public RelationManagerTest {
 protected:
  std::string storedTitle(int number) {
    EXPECT_TRUE(fetchService(number));
    return Buffer(tables::Service).get(SER_TITLE);
  }
  std::vector<std::string> shownTitles() const {
    std::vector<std::string> out;
    for (const auto& m : display.messages) out.push_back(m.title);
    return out;
  }
  void useRules(int updateMode, int deleteMode) {
    Relate(tables::Service).RedeclareRelations([updateMode, deleteMode](RelationManager& self) {
      self.DeclareRelation(Relate(tables::ServiceElement), updateMode, deleteMode, SEL_ServiceElementKey.index);
      self.LinkRelationFields(dict::idx::SER::SERVICENUMBER, dict::idx::SEL::SERVICENUMBER);
    });
  }
};

}  // namespace

TEST_F(RelationFailureTest, AChangeRolledBackCanBeSavedAgain) {
  plan();
  refuse("BibleRef", "UPDATE");
  ASSERT_TRUE(fetchService(1));
  Buffer(tables::Service).set(SER_TITLE, "Easter Sunday");
  Buffer(tables::Service).set(SER_SERVICENUMBER, 10);
  EXPECT_EQ(Relate(tables::Service).Update(true), Level::Notify);
  ASSERT_EQ(shownTitles(), std::vector<std::string>{"Record was not updated"});
  // The number went back, what else was typed stays on screen.
  EXPECT_EQ(Buffer(tables::Service).get(SER_SERVICENUMBER), 1);
  EXPECT_EQ(Buffer(tables::Service).get(SER_TITLE), "Easter Sunday");
  EXPECT_EQ(elementsOf(1), (std::vector<int>{1, 2, 3}));
  // Trying again (the "Yes" to the retry question) saves what the user sees.
  allow("BibleRef");
  display.messages.clear();
  EXPECT_EQ(Relate(tables::Service).Update(true), Level::Benign);
  EXPECT_TRUE(display.messages.empty()) << lastShown();
  EXPECT_EQ(storedTitle(1), "Easter Sunday");
  // Moving the children works now too.
  Buffer(tables::Service).set(SER_SERVICENUMBER, 10);
  EXPECT_EQ(Relate(tables::Service).Update(true), Level::Benign);
  EXPECT_EQ(elementsOf(10), (std::vector<int>{1, 2, 3}));
}

TEST_F(RelationFailureTest, AfterARollbackEveryTableStandsWhereTheFileDoes) {
  plan();
  // The element table's own current record takes part in the cascade.
  Buffer(tables::ServiceElement).set(SEL_ELEMENTNUMBER, 2);
  ASSERT_EQ(Access(tables::ServiceElement).Fetch(SEL_ElementNumberKey.index), Level::Benign);
  refuse("BibleRef", "UPDATE");
  ASSERT_TRUE(fetchService(1));
  Buffer(tables::Service).set(SER_SERVICENUMBER, 10);
  EXPECT_EQ(Relate(tables::Service).Update(false), Level::Notify);
  EXPECT_EQ(Buffer(tables::ServiceElement).get(SEL_SERVICENUMBER), 1);
  Buffer(tables::ServiceElement).set(SEL_ELEMENTORDER, 7);
  EXPECT_EQ(Access(tables::ServiceElement).Update(1), Level::Benign) << lastShown();
}

TEST_F(RelationFailureTest, DeletingAgainAfterYesToTheRetryQuestion) {
  plan();
  refuse("BibleRef", "DELETE", "old.\"REFERENCENUMBER\" = 1");
  display.whileShown = [this] {
    if (display.messages.size() == 1) allow("BibleRef");  // while asked to retry
  };
  ASSERT_TRUE(fetchService(1));
  display.Answer(Button::Ok);
  display.Answer(Button::Yes);
  EXPECT_EQ(Relate(tables::Service).Delete(false), Level::Benign);
  EXPECT_EQ(shownTitles(), (std::vector<std::string>{"Record was not deleted", "Record Delete Error"}));
  EXPECT_EQ(count(tables::Service), 1);
  EXPECT_EQ(count(tables::ServiceElement), 1);
  EXPECT_EQ(count(tables::BibleRef), 1);
}

TEST_F(RelationFailureTest, NoToTheConfirmationDeletesNothing) {
  plan();
  ASSERT_TRUE(fetchService(1));
  display.Answer(Button::No);
  EXPECT_EQ(Relate(tables::Service).Delete(true), Level::Cancel);
  EXPECT_EQ(shownTitles(), std::vector<std::string>{"Confirm Delete"});
  EXPECT_EQ(count(tables::Service), 2);
  EXPECT_EQ(count(tables::ServiceElement), 4);
}

TEST_F(RelationFailureTest, AnotherStationsChangeIsMessage8FromAFormAnd7Otherwise) {
  plan();
  ASSERT_TRUE(fetchService(1));
  otherStationRetitles(1, "Theirs");
  Buffer(tables::Service).set(SER_TITLE, "Mine");
  EXPECT_EQ(Relate(tables::Service).Update(false), Level::Notify);
  EXPECT_EQ(lastShown(), "This record was changed by another station.");
  EXPECT_EQ(Buffer(tables::Service).get(SER_TITLE), "Theirs");
  otherStationRetitles(1, "Theirs again");
  Buffer(tables::Service).set(SER_TITLE, "Mine");
  EXPECT_EQ(Relate(tables::Service).Update(true), Level::Notify);
  EXPECT_NE(lastShown().find("Use the Ditto Button or Ctrl+H"), std::string::npos);
  EXPECT_EQ(display.messages.size(), 2u);
  // Having seen their version, the user saves over it.
  Buffer(tables::Service).set(SER_TITLE, "Mine after all");
  EXPECT_EQ(Relate(tables::Service).Update(true), Level::Benign);
  EXPECT_EQ(storedTitle(1), "Mine after all");
}

TEST_F(RelationFailureTest, AValidationRefusalShowsNoEarlierMessage) {
  plan();
  ASSERT_TRUE(fetchService(1));
  otherStationRetitles(1, "Theirs");
  EXPECT_EQ(Relate(tables::Service).Update(true), Level::Notify);
  ASSERT_EQ(display.messages.size(), 1u);
  Access(tables::Service).Configure({.ValidateRecord = [](vrt::RecordRef) { return RecordVerdict::Refuse; }});
  EXPECT_EQ(Relate(tables::Service).Update(true), Level::Ask);
  EXPECT_EQ(display.messages.size(), 1u) << lastShown();
  Access(tables::Service).Configure({});
}

TEST_F(RelationFailureTest, MessagesWaitUntilTheTransactionHasLetGo) {
  plan();
  useRules(RI::Restrict, RI::Restrict);
  std::vector<bool> writable;
  display.whileShown = [&writable, this] {
    writable.push_back(writableNow("Service") && writableNow("ServiceElement"));
  };
  ASSERT_TRUE(fetchService(1));
  display.Answer(Button::Ok);
  display.Answer(Button::No);
  EXPECT_EQ(Relate(tables::Service).Delete(false), Level::Notify);
  Buffer(tables::Service).set(SER_SERVICENUMBER, 12);
  EXPECT_EQ(Relate(tables::Service).Update(true), Level::Notify);
  // A child that cannot be written, under the real cascade rules.
  useRules(RI::Cascade, RI::Cascade);
  refuse("ServiceElement", "UPDATE");
  ASSERT_TRUE(fetchService(1));
  Buffer(tables::Service).set(SER_SERVICENUMBER, 12);
  EXPECT_EQ(Relate(tables::Service).Update(true), Level::Notify);
  EXPECT_EQ(shownTitles(), (std::vector<std::string>{"Referential Integrity Delete Error", "Record Delete Error",
                                                     "Referential Integrity Update Error", "Record was not updated"}));
  EXPECT_EQ(writable, std::vector<bool>(4, true));
}

TEST_F(RelationFailureTest, ATransactionThatCannotStartSays24AndChangesNothing) {
  plan();
  ASSERT_TRUE(fetchService(1));
  Buffer(tables::Service).set(SER_SERVICENUMBER, 10);
  {
    OtherProgram other("BibleRef.vdb");
    ASSERT_TRUE(other.exec("BEGIN IMMEDIATE"));
    EXPECT_EQ(Relate(tables::Service).Update(true), Level::Notify);
  }
  ASSERT_EQ(shownTitles(), std::vector<std::string>{"Transaction cancelled"});
  EXPECT_EQ(lastShown().rfind("Error: (", 0), 0u);
  EXPECT_NE(lastShown().find(") attempting to frame the transaction on Service."), std::string::npos) << lastShown();
  EXPECT_EQ(elementsOf(1), (std::vector<int>{1, 2, 3}));
  EXPECT_FALSE(fetchService(10));
  // Once the other program lets go, the same change goes through.
  ASSERT_TRUE(fetchService(1));
  Buffer(tables::Service).set(SER_SERVICENUMBER, 10);
  EXPECT_EQ(Relate(tables::Service).Update(true), Level::Benign);
  EXPECT_EQ(elementsOf(10), (std::vector<int>{1, 2, 3}));
}

TEST_F(RelationFailureTest, ACommitThatFailsLeavesEverythingAndCanBeRetried) {
  plan();
  ASSERT_TRUE(fetchService(1));
  Buffer(tables::Service).set(SER_SERVICENUMBER, 10);
  {
    OtherProgram reader("ServiceElement.vdb");
    ASSERT_TRUE(reader.holdReadLock());
    EXPECT_EQ(Relate(tables::Service).Update(true), Level::Notify);
  }
  ASSERT_EQ(shownTitles(), std::vector<std::string>{"Record was not updated"});
  EXPECT_EQ(elementsOf(1), (std::vector<int>{1, 2, 3}));
  EXPECT_TRUE(elementsOf(10).empty());
  EXPECT_EQ(Buffer(tables::Service).get(SER_SERVICENUMBER), 10);  // still what the user typed
  EXPECT_EQ(Relate(tables::Service).Update(true), Level::Benign) << lastShown();
  EXPECT_EQ(elementsOf(10), (std::vector<int>{1, 2, 3}));
  EXPECT_FALSE(fetchService(1));
}

TEST_F(RelationFailureTest, ClearRulesBlankTheChildrensLinks) {
  plan();
  useRules(RI::Clear, RI::Clear);
  ASSERT_TRUE(fetchService(1));
  Buffer(tables::Service).set(SER_SERVICENUMBER, 10);
  EXPECT_EQ(Relate(tables::Service).Update(true), Level::Benign);
  EXPECT_EQ(elementsOf(0), (std::vector<int>{1, 2, 3}));
  EXPECT_TRUE(elementsOf(10).empty());
  ASSERT_TRUE(fetchService(2));
  EXPECT_EQ(Relate(tables::Service).Delete(false), Level::Benign);
  EXPECT_EQ(count(tables::ServiceElement), 4);
  EXPECT_EQ(elementsOf(0), (std::vector<int>{1, 4, 2, 3}));  // by their order within a service
  EXPECT_TRUE(display.messages.empty());
}

TEST_F(RelationFailureTest, CascadesReachChildrenOrderedBelowZero) {
  plan();
  element(5, 1, -1);
  element(6, 1, -40);
  ASSERT_TRUE(fetchService(1));
  Buffer(tables::Service).set(SER_SERVICENUMBER, 10);
  ASSERT_EQ(Relate(tables::Service).Update(true), Level::Benign);
  EXPECT_EQ(elementsOf(10), (std::vector<int>{6, 5, 1, 2, 3}));
  EXPECT_TRUE(elementsOf(1).empty());
  ASSERT_TRUE(fetchService(10));
  ASSERT_EQ(Relate(tables::Service).Delete(false), Level::Benign);
  EXPECT_EQ(count(tables::ServiceElement), 1);
}

TEST_F(RelationFailureTest, AStoredRecordThatCannotBeReadFailsTheWholeChange) {
  plan();
  ASSERT_TRUE(fetchService(1));
  asAnotherProgram("Service", "DELETE FROM \"Service\" WHERE \"SERVICENUMBER\" = 1");
  Buffer(tables::Service).set(SER_SERVICENUMBER, 10);
  EXPECT_EQ(Relate(tables::Service).Update(true), Level::Notify);
  ASSERT_EQ(shownTitles(), std::vector<std::string>{"Record Retrieval Error"});
  EXPECT_EQ(lastShown().rfind("This record was changed or deleted by another station.", 0), 0u) << lastShown();
  EXPECT_EQ(elementsOf(1), (std::vector<int>{1, 2, 3}));
  EXPECT_FALSE(fetchService(10));
}

TEST_F(RelationFailureTest, AFileThatCannotOpenIsReportedOnce) {
  { std::ofstream("Service.vdb") << "this is not a data file at all, just some words to fill a page"; }
  for (bool framed : {true, false}) {
    display.messages.clear();
    Relate(tables::Service).UseTransactions(framed);
    EXPECT_NE(Relate(tables::Service).Update(true), Level::Benign);
    ASSERT_EQ(shownTitles(), std::vector<std::string>{"File Access Error"}) << (framed ? "framed" : "unframed");
  }
}
