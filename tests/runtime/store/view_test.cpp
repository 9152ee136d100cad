#include <gtest/gtest.h>

#include "runtime/data/errors.h"
#include "runtime/store/position_codec.h"
#include "runtime/store/view.h"
#include "support/temp_dir.h"
#include "test_schema.h"

using namespace vrt;
using namespace vtest;

namespace {

// People with numbers 1..n, names, groups; a second table of groups joined by number.
class ViewTest : public ::testing::Test {
 protected:
  TempDir dir;
  DataFile people{peopleSchema()};
  DataFile groups{groupSchema()};

  static TableSchema groupSchema() {
    TableSchema t;
    t.label = "Groups";
    t.prefix = "GRP";
    t.fields = {field("NUMBER", FieldType::Long, 4, 0), field("TITLE", FieldType::CString, 21, 4)};
    for (auto& f : t.fields) f.label = "GRP:" + f.name;
    t.recordSize = 25;
    t.keys = {key("GroupKey", {0}, true)};
    t.keys[0].label = "GRP:GroupKey";
    return t;
  }

  void SetUp() override {
    ASSERT_TRUE(people.create());
    ASSERT_TRUE(people.open());
    ASSERT_TRUE(groups.create());
    ASSERT_TRUE(groups.open());
    const char* names[] = {"Ann", "bob", "Carl", "dora", "O'Neil", "Eve", "frank", "Gus", "hal", "Ivy"};
    for (int i = 1; i <= 10; ++i) add(i, names[i - 1], (i - 1) % 3 + 1, i % 2 ? dateFromYmd(2000, 1, i) : 0);
    for (int g : {1, 2}) {
      groups.buffer().clearAll(groups.schema().fields);
      groups.buffer().setNumber(groups.schema().fields[0], g);
      groups.buffer().setText(groups.schema().fields[1], g == 1 ? "Choir" : "Band");
      ASSERT_TRUE(groups.add());
    }
  }

  void add(int number, const std::string& name, int group, DayNumber born = 0) {
    auto& f = people.schema().fields;
    people.buffer().clearAll(f);
    people.buffer().setNumber(f[kNumber], number);
    people.buffer().setText(f[kName], name);
    people.buffer().setNumber(f[kGroup], group);
    people.buffer().setNumber(f[kBorn], born);
    ASSERT_TRUE(people.add()) << errorMessage();
  }
  int number() { return static_cast<int>(people.buffer().number(people.schema().fields[kNumber])); }

  std::vector<int> all(View& v, bool forward = true) {
    std::vector<int> out;
    forward ? v.setToStart() : v.setToEnd();
    while (forward ? v.next() : v.previous()) out.push_back(number());
    EXPECT_EQ(errorCode(), kRecordNotAvailable);
    return out;
  }
  std::vector<int> view(const char* order, const char* filter, bool forward = true) {
    View v(people);
    EXPECT_TRUE(v.setOrder(order)) << order << ": " << errorMessage();
    EXPECT_TRUE(v.setFilter(filter)) << filter << ": " << errorMessage();
    EXPECT_TRUE(v.open()) << errorMessage();
    return all(v, forward);
  }
};

using V = std::vector<int>;

}  // namespace

TEST_F(ViewTest, ReadsInTheOrderGivenBothWays) {
  EXPECT_EQ(view("UPPER(PEO:Name)", ""), (V{1, 2, 3, 4, 6, 7, 8, 9, 10, 5}));
  EXPECT_EQ(view("UPPER(PEO:Name)", "", false), (V{5, 10, 9, 8, 7, 6, 4, 3, 2, 1}));
  EXPECT_EQ(view("-PEO:Number", ""), (V{10, 9, 8, 7, 6, 5, 4, 3, 2, 1}));
  // Case-sensitive text order: capitals first.
  EXPECT_EQ(view("PEO:Name", ""), (V{1, 3, 6, 8, 10, 5, 2, 4, 7, 9}));
  // Mixed directions, ties broken the same way both ways.
  EXPECT_EQ(view("PEO:GroupNo,-PEO:Number", ""), (V{10, 7, 4, 1, 8, 5, 2, 9, 6, 3}));
  EXPECT_EQ(view("PEO:GroupNo,-PEO:Number", "", false), (V{3, 6, 9, 2, 5, 8, 1, 4, 7, 10}));
  // No order: file order.
  EXPECT_EQ(view("", ""), (V{1, 2, 3, 4, 5, 6, 7, 8, 9, 10}));
}

TEST_F(ViewTest, FiltersFromTheProgramAndTheWizardSelectTheRightRecords) {
  EXPECT_EQ(view("PEO:Number", "UPPER(PEO:Name) = UPPER('O''Neil')"), (V{5}));
  EXPECT_EQ(view("PEO:Number", "PEO:Born <> 0"), (V{1, 3, 5, 7, 9}));
  EXPECT_EQ(view("PEO:Number", "INSTRING('A',UPPER(PEO:Name),1,1)"), (V{1, 3, 4, 7, 9}));
  EXPECT_EQ(view("PEO:Number", "SUB(UPPER(PEO:Name),1,1) => 'B' AND SUB(UPPER(PEO:Name),1,1) =< 'D'"), (V{2, 3, 4}));
  EXPECT_EQ(view("PEO:Number", "PEO:Number >= 4 AND PEO:Number =< 7 OR PEO:Number = 10"), (V{4, 5, 6, 7, 10}));
  // Text compares exactly unless the filter says UPPER.
  EXPECT_EQ(view("PEO:Number", "PEO:Name = 'ann'"), (V{}));
  EXPECT_EQ(view("PEO:Number", "PEO:Name = 'Ann   '"), (V{1}));
  EXPECT_EQ(view("PEO:Number", "PEO:Name < 'a'"), (V{1, 3, 5, 6, 8, 10}));
  EXPECT_EQ(view("PEO:Number", "UPPER(PEO:Name) < 'C'"), (V{1, 2}));
}

TEST_F(ViewTest, RangesOnTheOrdersLeadingComponentsGoIntoTheQuery) {
  View v(people);
  ASSERT_TRUE(v.setOrder("PEO:GroupNo,UPPER(PEO:Name)"));
  ASSERT_TRUE(v.setFilter("PEO:GroupNo = 2"));
  ASSERT_TRUE(v.open());
  EXPECT_EQ(all(v), (V{2, 8, 5}));
  EXPECT_EQ(all(v, false), (V{5, 8, 2}));
  EXPECT_EQ(v.pushedTerms(), 1);
  EXPECT_EQ(v.residualTerms(), 0);
  // The page reads seek on the group key's index.
  for (const auto& q : v.pageReadSql()) EXPECT_NE(q.find("INDEXED BY \"GroupNameKey\""), std::string::npos) << q;
  v.close();
  // A case-blind equality is a wide net in the query and checked again per record.
  ASSERT_TRUE(v.setFilter("PEO:Name = 'gus' OR PEO:Name = 'Gus'"));
  ASSERT_TRUE(v.open());
  EXPECT_EQ(all(v), (V{8}));
  EXPECT_EQ(v.residualTerms(), 1);
}

TEST_F(ViewTest, JoinsReadTheirRecordForEachPrimaryRecord) {
  View outer(people);
  outer.addJoin(groups, 0, {{&people, kGroup}});
  ASSERT_TRUE(outer.setOrder("PEO:Number"));
  ASSERT_TRUE(outer.setFilter("PEO:Number <= 4"));
  ASSERT_TRUE(outer.open());
  std::vector<std::string> titles;
  while (outer.next()) titles.push_back(groups.buffer().text(groups.schema().fields[1]));
  EXPECT_EQ(titles, (std::vector<std::string>{"Choir", "Band", "", "Choir"}));  // group 3 has no record
  View inner(people);
  inner.addJoin(groups, 0, {{&people, kGroup}}, true);
  ASSERT_TRUE(inner.setOrder("PEO:Number"));
  ASSERT_TRUE(inner.setFilter("GRP:Title = 'Band'"));  // a joined table's field in the filter
  ASSERT_TRUE(inner.open());
  EXPECT_EQ(all(inner), (V{2, 5, 8}));
  ASSERT_TRUE(inner.setFilter(""));
  EXPECT_EQ(all(inner), (V{1, 2, 4, 5, 7, 8, 10}));
}

// A list reading on from its last row goes by what it shows; a refresh of its highlighted
// row goes where that record now is.
TEST_F(ViewTest, ReadingOnGoesByTheValuesShownAndResettingFollowsTheRecord) {
  View v(people);
  ASSERT_TRUE(v.setOrder("PEO:Number"));
  ASSERT_TRUE(v.open());
  v.setToStart();
  for (int i = 0; i < 5; ++i) ASSERT_TRUE(v.next());
  ASSERT_EQ(number(), 5);
  const std::string shown = v.position();
  ASSERT_TRUE(people.getByRowid(people.currentRowid()));
  people.buffer().setNumber(people.schema().fields[kNumber], 50);  // changed elsewhere, moves to the end
  ASSERT_TRUE(people.put()) << errorMessage();
  ASSERT_TRUE(v.continueFrom(shown));
  ASSERT_TRUE(v.next());
  EXPECT_EQ(number(), 6);
  ASSERT_TRUE(v.continueFrom(shown));
  ASSERT_TRUE(v.previous());
  EXPECT_EQ(number(), 4);
  ASSERT_TRUE(v.resetTo(shown));
  ASSERT_TRUE(v.next());
  EXPECT_EQ(number(), 50);
  EXPECT_FALSE(v.continueFrom("junk"));
}

// Only a position whose values all fitted can stand for its record's values.
TEST(PositionCodec, SaysWhetherEveryValueFittedWhole) {
  const auto small = store::decodePosition(store::encodePosition(7, {std::string("Ann"), std::int64_t{5}}));
  ASSERT_TRUE(small);
  EXPECT_TRUE(small->whole);
  EXPECT_EQ(small->values.size(), 2u);
  const auto cut = store::decodePosition(store::encodePosition(7, {std::string(2000, 'a'), std::int64_t{5}}));
  ASSERT_TRUE(cut);
  EXPECT_FALSE(cut->whole);
  EXPECT_LT(std::get<std::string>(cut->values.at(0)).size(), 2000u);
}

TEST_F(ViewTest, PositionsSurviveOtherRecordsComingAndGoing) {
  View v(people);
  ASSERT_TRUE(v.setOrder("PEO:Born"));  // half the records share the value 0
  ASSERT_TRUE(v.open());
  EXPECT_EQ(all(v), (V{2, 4, 6, 8, 10, 1, 3, 5, 7, 9}));
  v.setToStart();
  for (int i = 0; i < 3; ++i) ASSERT_TRUE(v.next());
  EXPECT_EQ(number(), 6);
  const std::string here = v.position();
  EXPECT_LE(here.size(), 1024u);
  add(11, "new", 2);  // shares the value, comes later
  auto erase = [&](int n) {
    people.buffer().setNumber(people.schema().fields[kNumber], n);
    ASSERT_TRUE(people.get(0));
    ASSERT_TRUE(people.erase());
  };
  erase(4);  // the one before it
  ASSERT_TRUE(v.resetTo(here));
  ASSERT_TRUE(v.next());
  EXPECT_EQ(number(), 6);
  ASSERT_TRUE(v.next());
  EXPECT_EQ(number(), 8);
  ASSERT_TRUE(v.resetTo(here));
  ASSERT_TRUE(v.previous());
  EXPECT_EQ(number(), 6);
  ASSERT_TRUE(v.previous());
  EXPECT_EQ(number(), 2);
  // Its own record gone, the position still places the view between its neighbours.
  erase(6);
  ASSERT_TRUE(v.resetTo(here));
  ASSERT_TRUE(v.next());
  EXPECT_EQ(number(), 8);
  ASSERT_TRUE(v.resetTo(here));
  ASSERT_TRUE(v.previous());
  EXPECT_EQ(number(), 2);
  EXPECT_EQ(all(v), (V{2, 8, 10, 11, 1, 3, 5, 7, 9}));
  // And "set to the record in the buffer".
  people.buffer().setNumber(people.schema().fields[kNumber], 5);
  ASSERT_TRUE(people.get(0));
  ASSERT_TRUE(v.resetToBuffer());
  ASSERT_TRUE(v.next());
  EXPECT_EQ(number(), 5);
  ASSERT_TRUE(v.next());
  EXPECT_EQ(number(), 7);
}

TEST_F(ViewTest, BatchesReadTheSameRecordsAsSingleReads) {
  View v(people);
  ASSERT_TRUE(v.setOrder("UPPER(PEO:Name)"));
  ASSERT_TRUE(v.setFilter("PEO:GroupNo <> 2"));
  ASSERT_TRUE(v.open());
  const V single = all(v);
  ASSERT_TRUE(v.beginBatch());
  EXPECT_EQ(all(v), single);
  EXPECT_EQ(all(v, false), V(single.rbegin(), single.rend()));
  v.endBatch();
  EXPECT_EQ(single, (V{1, 3, 4, 6, 7, 9, 10}));
}

TEST_F(ViewTest, ErrorsComeWithTheirNumbers) {
  View v(people);
  EXPECT_FALSE(v.setFilter("PEO:Number = "));
  EXPECT_EQ(errorCode(), kExpressionSyntax);
  EXPECT_FALSE(v.setFilter("PEO:Nothing = 1"));
  EXPECT_EQ(errorCode(), kUnknownName);
  EXPECT_NE(errorMessage().find("PEO:Nothing"), std::string::npos);
  EXPECT_FALSE(v.setOrder("PEO:Number,"));
  EXPECT_FALSE(v.next());
  EXPECT_EQ(errorCode(), kFileNotOpen);
  ASSERT_TRUE(v.open());
  EXPECT_FALSE(v.open());
  EXPECT_EQ(errorCode(), kFileAlreadyOpen);
  v.setToEnd();
  EXPECT_FALSE(v.next());
  EXPECT_EQ(errorCode(), kRecordNotAvailable);
  EXPECT_EQ(v.records(), 10);
  EXPECT_FALSE(v.resetTo("junk"));
}

TEST_F(ViewTest, AnOrderItCannotReadInIsRefusedWhenSet) {
  View v(people);
  v.addJoin(groups, 0, {{&people, kGroup}});
  ASSERT_TRUE(v.setOrder("PEO:Name"));
  EXPECT_FALSE(v.setOrder("GRP:Title"));  // a joined table's field
  EXPECT_EQ(errorCode(), kBadArgument);
  EXPECT_NE(errorMessage().find("GRP:Title"), std::string::npos);
  EXPECT_EQ(v.order(), "PEO:Name");  // the order in force stays
  ASSERT_TRUE(v.open());
  EXPECT_EQ(all(v).size(), 10u);
}

TEST_F(ViewTest, RowsTurnedDownLeaveNothingBehindAtTheEnd) {
  View v(people);
  v.addJoin(groups, 0, {{&people, kGroup}});
  ASSERT_TRUE(v.setOrder("PEO:Number"));
  // Per record: the name's first letter, or the join's title.
  ASSERT_TRUE(v.setFilter("SUB(PEO:Name, 1, 1) = 'A' OR GRP:Title = 'Band'"));
  ASSERT_TRUE(v.open());
  std::vector<int> seen;
  while (v.next()) seen.push_back(number());
  EXPECT_EQ(seen, (V{1, 2, 5, 8}));
  // Records 9 and 10 were turned down after 8: the buffers still hold 8 and its group.
  EXPECT_EQ(number(), 8);
  EXPECT_EQ(people.buffer().text(people.schema().fields[kName]), "Gus");
  EXPECT_EQ(groups.buffer().text(groups.schema().fields[1]), "Band");
}
