#include "relation_fixture.h"

using namespace vesp;
using namespace vesp::testing;

TEST_F(RelationManagerTest, OpeningWalksTheRelationsOncePerPass) {
  RelationManager& rm = Relate(tables::Service);
  ASSERT_EQ(rm.Open(), Level::Benign);
  // Service lists its children and each child lists Service again: a cycle, walked once.
  EXPECT_EQ(Access(tables::Service).OPENED(), 1);
  EXPECT_EQ(Access(tables::ServiceElement).OPENED(), 1);
  EXPECT_EQ(Access(tables::BibleRef).OPENED(), 1);
  EXPECT_EQ(Access(tables::KeyWords).OPENED(), 1);
  EXPECT_EQ(Access(tables::AssociatedFiles).OPENED(), 1);  // once, though reached through the service and an element
  EXPECT_EQ(Access(tables::Performers).OPENED(), 0);       // no declared relation
  ASSERT_EQ(rm.Open(), Level::Benign);
  EXPECT_EQ(Access(tables::ServiceElement).OPENED(), 2);
  static_cast<void>(rm.Close());
  static_cast<void>(rm.Close());
  EXPECT_EQ(Access(tables::Service).OPENED(), 0);
  EXPECT_EQ(Access(tables::ServiceElement).OPENED(), 0);
  EXPECT_EQ(Access(tables::BibleRef).OPENED(), 0);
  ASSERT_EQ(rm.relations().size(), 5u);
  EXPECT_EQ(rm.relations()[0].FILE, &Relate(tables::ServiceElement));
  EXPECT_EQ(rm.relations()[1].FILE, &Relate(tables::BibleRef));
  EXPECT_EQ(rm.relations()[2].FILE, &Relate(tables::KeyWords));
  EXPECT_EQ(rm.relations()[3].FILE, &Relate(tables::Statistics));
  EXPECT_EQ(rm.relations()[4].FILE, &Relate(tables::AssociatedFiles));
  // An element's parent, then its files.
  EXPECT_EQ(Relate(tables::ServiceElement).relations().size(), 2u);
}

TEST_F(RelationManagerTest, DeletingAServiceTakesItsElementsAndPassages) {
  plan();
  ASSERT_TRUE(fetchService(1));
  ASSERT_EQ(Relate(tables::Service).Delete(false), Level::Benign);
  EXPECT_EQ(count(tables::Service), 1);
  EXPECT_EQ(count(tables::ServiceElement), 1);  // only the other service's
  EXPECT_EQ(count(tables::BibleRef), 1);
  EXPECT_TRUE(elementsOf(1).empty());
  EXPECT_EQ(elementsOf(2), std::vector<int>{4});
  EXPECT_TRUE(display.messages.empty());
}

TEST_F(RelationManagerTest, AFailureOnTheFourthChildLeavesAllSix) {
  plan();
  // The first passage (the fourth child, after three elements) refuses to go.
  TableFile(tables::BibleRef).close();
  refuse("BibleRef", "DELETE", "old.\"REFERENCENUMBER\" = 1");
  ASSERT_TRUE(fetchService(1));
  display.Answer(Button::Ok);  // the delete error
  display.Answer(Button::No);  // do not try again
  EXPECT_EQ(Relate(tables::Service).Delete(false), Level::Notify);
  EXPECT_EQ(count(tables::Service), 2);
  EXPECT_EQ(count(tables::ServiceElement), 4);
  EXPECT_EQ(count(tables::BibleRef), 3);
  EXPECT_EQ(elementsOf(1), (std::vector<int>{1, 2, 3}));
  ASSERT_GE(display.messages.size(), 2u);
  EXPECT_EQ(display.messages.front().title, "Record was not deleted");
  EXPECT_EQ(display.messages.back().title, "Record Delete Error");  // asked whether to try again
}

TEST_F(RelationManagerTest, ANewServiceNumberMovesItsChildren) {
  plan();
  ASSERT_TRUE(fetchService(1));
  Buffer(tables::Service).set(SER_SERVICENUMBER, 10);
  ASSERT_EQ(Relate(tables::Service).Update(true), Level::Benign);
  EXPECT_TRUE(elementsOf(1).empty());
  EXPECT_EQ(elementsOf(10), (std::vector<int>{1, 2, 3}));
  EXPECT_EQ(elementsOf(2), std::vector<int>{4});
  vrt::DataFile& refs = TableFile(tables::BibleRef);
  refs.setToStart(BIB_ServiceRefKey.index);
  std::vector<int> services;
  while (refs.next()) services.push_back(refs.buffer().get(BIB_SERVICENUMBER));
  EXPECT_EQ(services, (std::vector<int>{2, 10, 10}));
}

TEST_F(RelationManagerTest, AChangeOutsideTheLinkingFieldsRunsNoChildPass) {
  plan();
  // Any change to an element would fail; none must be tried.
  TableFile(tables::ServiceElement).close();
  refuse("ServiceElement", "UPDATE");
  ASSERT_TRUE(fetchService(1));
  Buffer(tables::Service).set(SER_TITLE, "Easter Sunday");
  EXPECT_EQ(Relate(tables::Service).Update(true), Level::Benign);
  EXPECT_TRUE(display.messages.empty());
  ASSERT_TRUE(fetchService(1));
  EXPECT_EQ(Buffer(tables::Service).get(SER_TITLE), "Easter Sunday");
  // A change of the number would touch them, fails, and leaves everything as it was.
  Buffer(tables::Service).set(SER_SERVICENUMBER, 11);
  EXPECT_NE(Relate(tables::Service).Update(true), Level::Benign);
  EXPECT_EQ(Buffer(tables::Service).get(SER_SERVICENUMBER), 1);  // the linking field is reset
  EXPECT_TRUE(fetchService(1));
  EXPECT_FALSE(fetchService(11));
  EXPECT_EQ(elementsOf(1), (std::vector<int>{1, 2, 3}));
}

TEST_F(RelationManagerTest, RestrictRulesRefuseAndSaySo) {
  plan();
  // The same relations, but restricted.
  RelationManager& rm = Relate(tables::Service);
  rm.RedeclareRelations([](RelationManager& self) {
    self.DeclareRelation(Relate(tables::ServiceElement), RI::Restrict, RI::Restrict,
                         SEL_ServiceElementKey.index);
    self.LinkRelationFields(dict::idx::SER::SERVICENUMBER, dict::idx::SEL::SERVICENUMBER);
  });
  ASSERT_TRUE(fetchService(1));
  display.Answer(Button::Ok);
  display.Answer(Button::No);
  EXPECT_EQ(rm.Delete(false), Level::Notify);
  EXPECT_EQ(display.messages[0].text,
            "This record is referenced from the file ServiceElement. This record cannot be deleted while these "
            "references exist.");
  EXPECT_EQ(count(tables::Service), 2);
  ASSERT_TRUE(fetchService(1));
  Buffer(tables::Service).set(SER_SERVICENUMBER, 12);
  EXPECT_EQ(rm.Update(true), Level::Notify);
  EXPECT_EQ(display.messages.back().title, "Referential Integrity Update Error");
  EXPECT_EQ(Buffer(tables::Service).get(SER_SERVICENUMBER), 1);
  EXPECT_FALSE(fetchService(12));
  // A service without children may go.
  ASSERT_TRUE(fetchService(2));
  TableFile(tables::ServiceElement).setToStart(0);
  display.messages.clear();
  service(3);
  ASSERT_TRUE(fetchService(3));
  EXPECT_EQ(rm.Delete(false), Level::Benign);
}

TEST_F(RelationManagerTest, DeletingAPerformerLeavesEverythingThatNamesThem) {
  addRaw(tables::Performers, [](vrt::RecordRef r) { r.set(PER_PERFORMERSNUMBER, 5); });
  addRaw(tables::PerformerGroupHeader, [](vrt::RecordRef r) { r.set(PGH_PERFORMERGROUPNUMBER, 1); });
  addRaw(tables::PerformerGroupDetail, [](vrt::RecordRef r) {
    r.set(PGD_PERFORMERGROUPNUMBER, 1);
    r.set(PGD_PERFORMERGROUPDETAILNUMBER, 1);
    r.set(PGD_PERFORMERNUMBER, 5);
  });
  Buffer(tables::Performers).set(PER_PERFORMERSNUMBER, 5);
  ASSERT_EQ(Access(tables::Performers).Fetch(PER_PerformersNumberKey.index), Level::Benign);
  ASSERT_EQ(Relate(tables::Performers).Delete(false), Level::Benign);
  EXPECT_EQ(count(tables::PerformerGroupDetail), 1);
  // Deleting the group takes its member rows.
  Buffer(tables::PerformerGroupHeader).set(PGH_PERFORMERGROUPNUMBER, 1);
  ASSERT_EQ(Access(tables::PerformerGroupHeader).Fetch(PGH_PerformerGroupHeaderNumberKey.index), Level::Benign);
  ASSERT_EQ(Relate(tables::PerformerGroupHeader).Delete(false), Level::Benign);
  EXPECT_EQ(count(tables::PerformerGroupDetail), 0);
}
