// Upkeep run by the relation manager: after inserts, changes and deletes (cascaded ones too),
// with the record before and after, inside the write's transaction, so that a failing upkeep
// undoes the write; the files it names are opened for the write and closed after it.
#include "records/upkeep.h"

#include "relation_fixture.h"

using namespace vesp;
using namespace vesp::testing;

namespace {

// A topic numbered as each service tells how many elements the service has, kept by an
// upkeep of the elements.
struct Tally {
  bool on = false;
  std::vector<std::pair<int, int>> calls;  // the service numbers before and after; -1 for none
};
Tally& tally() {
  static Tally t;
  return t;
}

int elementsIn(int service) {
  vrt::DataFile& f = TableFile(tables::ServiceElement);
  const auto kept = f.saveState();
  int n = 0;
  f.setToStart(SEL_ServiceElementKey.index);
  while (f.next()) n += f.buffer().get(SEL_SERVICENUMBER) == service;
  f.restoreState(*kept);
  return n;
}

bool retitle(int service) {
  vrt::DataFile& f = TableFile(tables::Topic);
  const auto kept = f.saveState();
  f.buffer().set(TOP_TOPICNUMBER, service);
  bool ok = true;
  if (f.get(TOP_TopicNumberKey.index)) {
    f.buffer().set(TOP_TOPIC, std::to_string(elementsIn(service)) + " elements");
    ok = f.put();
  }
  f.restoreState(*kept);
  return ok;
}

void registerTally() {
  RegisterUpkeep("ServiceElement", {"tally", {"Topic", "ServiceElement"},
                                    [](const vrt::RecordBuffer* before, const vrt::RecordBuffer* after) {
                                      if (!tally().on) return true;
                                      const int was = before ? before->get(SEL_SERVICENUMBER) : -1;
                                      const int is = after ? after->get(SEL_SERVICENUMBER) : -1;
                                      tally().calls.emplace_back(was, is);
                                      return (was < 0 || retitle(was)) && (is < 0 || retitle(is));
                                    }});
}

class UpkeepTest : public RelationManagerTest {
 protected:
  void SetUp() override {
    registerTally();
    plan();
    for (int n : {1, 2, 10}) addRaw(tables::Topic, [n](vrt::RecordRef r) { r.set(TOP_TOPICNUMBER, n); });
    tally() = {true, {}};
    // The upkeep's other file opens for the write only.
    static_cast<void>(Access(tables::Topic).Close());
    ASSERT_EQ(Access(tables::Topic).OPENED(), 0);
  }
  void TearDown() override { tally().on = false; }
  std::string title(int service) {
    static_cast<void>(Access(tables::Topic).Open());
    Buffer(tables::Topic).set(TOP_TOPICNUMBER, service);
    const bool found = Access(tables::Topic).Fetch(TOP_TopicNumberKey.index) == Level::Benign;
    const std::string t = found ? Buffer(tables::Topic).get(TOP_TOPIC) : "<none>";
    static_cast<void>(Access(tables::Topic).Close());
    return t;
  }
  bool fetchElement(int number) {
    Buffer(tables::ServiceElement).set(SEL_ELEMENTNUMBER, number);
    return Access(tables::ServiceElement).Fetch(SEL_ElementNumberKey.index) == Level::Benign;
  }
};

}  // namespace

TEST_F(UpkeepTest, InsertsChangesAndDeletesEachRunItWithTheRecordBeforeAndAfter) {
  FileManager& elements = Access(tables::ServiceElement);
  RelationManager& relate = Relate(tables::ServiceElement);
  static_cast<void>(elements.ClearForInsert());
  elements.BUFFER()->set(SEL_SERVICENUMBER, 2);
  elements.BUFFER()->set(SEL_ELEMENTORDER, 5);
  ASSERT_EQ(relate.Insert(), Level::Benign) << lastShown();
  EXPECT_EQ(title(2), "2 elements");
  EXPECT_EQ(Access(tables::Topic).OPENED(), 0) << "opened for the write only";

  ASSERT_TRUE(fetchElement(1));
  elements.BUFFER()->set(SEL_SERVICENUMBER, 2);
  ASSERT_EQ(relate.Update(true), Level::Benign) << lastShown();
  EXPECT_EQ(title(1), "2 elements");
  EXPECT_EQ(title(2), "3 elements");

  ASSERT_TRUE(fetchElement(2));
  ASSERT_EQ(relate.Delete(false), Level::Benign) << lastShown();
  EXPECT_EQ(title(1), "1 elements");
  EXPECT_EQ(tally().calls, (std::vector<std::pair<int, int>>{{-1, 2}, {1, 2}, {1, -1}}));
  EXPECT_EQ(Access(tables::Topic).OPENED(), 0);
}

TEST_F(UpkeepTest, ACascadeRunsItForEveryChildItReaches) {
  static_cast<void>(Relate(tables::Service).Open());
  ASSERT_TRUE(fetchService(1));
  Buffer(tables::Service).set(SER_SERVICENUMBER, 10);  // the elements move with it
  ASSERT_EQ(Relate(tables::Service).Update(true), Level::Benign) << lastShown();
  EXPECT_EQ(tally().calls, (std::vector<std::pair<int, int>>{{1, 10}, {1, 10}, {1, 10}}));
  EXPECT_EQ(title(10), "3 elements");
  tally().calls.clear();
  ASSERT_TRUE(fetchService(10));
  ASSERT_EQ(Relate(tables::Service).Delete(false), Level::Benign) << lastShown();
  EXPECT_EQ(tally().calls, (std::vector<std::pair<int, int>>{{10, -1}, {10, -1}, {10, -1}}));
  EXPECT_EQ(count(tables::ServiceElement), 1);
  static_cast<void>(Relate(tables::Service).Close());
}

TEST_F(UpkeepTest, WhenItFailsTheWriteIsUndoneAndReported) {
  refuse("Topic", "UPDATE");
  FileManager& elements = Access(tables::ServiceElement);
  RelationManager& relate = Relate(tables::ServiceElement);

  ASSERT_TRUE(fetchElement(4));
  elements.BUFFER()->set(SEL_SERVICENUMBER, 1);
  EXPECT_NE(relate.Update(true), Level::Benign);
  EXPECT_EQ(elementsOf(2), std::vector<int>{4});
  EXPECT_FALSE(display.messages.empty());

  // A numbered insert keeps its reserved number when undone, and can be saved after.
  display.messages.clear();
  static_cast<void>(elements.ClearForInsert());
  ASSERT_EQ(elements.ReserveNextNumber(false), Level::Benign);
  const int reserved = elements.BUFFER()->get(SEL_ELEMENTNUMBER);
  elements.BUFFER()->set(SEL_SERVICENUMBER, 2);
  EXPECT_NE(relate.Insert(false), Level::Benign);
  EXPECT_TRUE(elements.AUTOINCDONE());
  const vrt::RecordBuffer entered = *elements.BUFFER();  // still on screen
  EXPECT_EQ(elementsOf(2), std::vector<int>{4});
  *elements.BUFFER() = entered;
  allow("Topic");
  display.messages.clear();
  ASSERT_EQ(relate.Insert(false), Level::Benign) << lastShown();
  EXPECT_EQ(elementsOf(2), (std::vector<int>{reserved, 4}));  // element order 0 first
  EXPECT_EQ(title(2), "2 elements");
  EXPECT_EQ(Access(tables::Topic).OPENED(), 0);
}
