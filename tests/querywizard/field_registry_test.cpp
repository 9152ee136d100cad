// Registering offered fields: persistent numbers, the lowest free number for a new field,
// and saved queries marked invalid when a field they use is gone.
#include "querywizard/field_registry.h"

#include <set>

#include "querywizard/filter_text.h"
#include "querywizard/query_store.h"
#include "querywizard/query_tables.h"
#include "qw_fixture.h"
#include "runtime/store/sqlite_db.h"
#include "store_support.h"

using namespace qrywiz;
using namespace qwtest;

namespace {

class FieldRegistry : public QwTest {
 protected:
  void SetUp() override {
    QwTest::SetUp();
    hooks().busyBegin = [this](std::string_view text) { busy.emplace_back(text); };
  }

  static std::int16_t numberOf(const XBQW_FIELDSQUEUE& f, const std::string& desc) {
    for (const auto& r : f)
      if (r.QWFLDDESC == desc) return r.QWFLDFIELDPOINTER;
    return 0;
  }

  std::int32_t saveOne(XBQW_FIELDSQUEUE& f, const std::string& desc, std::int32_t cmpRank = 0) {
    CurrentQuery q = {makeElement(rankOf(f, desc), f, kIsEqualTo, cmpRank ? "PRA:Request" : "x", "", cmpRank)};
    descriptions.push_back("uses " + desc);
    SaveInput in;
    in.className = "PrayerRequest";
    const std::string text = assembleQuery(q, Syntax::Standard);
    in.filterText = text;
    std::string accepted;
    return saveQuery(q, f, in, accepted);
  }

  std::vector<std::string> busy;
};

XBQW_FIELDSQUEUE without(XBQW_FIELDSQUEUE f, const std::string& desc) {
  std::erase_if(f, [&](const auto& r) { return r.QWFLDDESC == desc; });
  return f;
}

}  // namespace

TEST_F(FieldRegistry, FirstRegistrationNumbersEveryFieldAndSortsByDescription) {
  XBQW_FIELDSQUEUE f = prayerFields();
  XB_INITFIELDSQUEUE(f, "PrayerRequest");
  ASSERT_EQ(f.size(), 8u);
  std::set<std::int16_t> numbers;
  for (std::size_t i = 0; i < f.size(); ++i) {
    EXPECT_EQ(f[i].QWFLDQPOINTER, static_cast<std::int16_t>(i + 1));
    numbers.insert(f[i].QWFLDFIELDPOINTER);
  }
  EXPECT_EQ(numbers, (std::set<std::int16_t>{1, 2, 3, 4, 5, 6, 7, 8}));
  EXPECT_EQ(f[0].QWFLDDESC, "PRA:Answer");
  EXPECT_EQ(f[7].QWFLDDESC, "PRA:Request Number");
  EXPECT_EQ(busy, std::vector<std::string>{"Converting Saved Query Data -- Please Wait..."});

  // The same list again finds every number and changes nothing.
  busy.clear();
  XBQW_FIELDSQUEUE again = prayerFields();
  XB_INITFIELDSQUEUE(again, "prayerrequest");
  EXPECT_TRUE(busy.empty());
  for (const auto& r : f) EXPECT_EQ(numberOf(again, r.QWFLDDESC), r.QWFLDFIELDPOINTER);
  // Another class numbers on its own.
  XBQW_FIELDSQUEUE other = without(prayerFields(), "PRA:Answer");
  XB_INITFIELDSQUEUE(other, "Other");
  std::set<std::int16_t> otherNumbers;
  for (const auto& r : other) otherNumbers.insert(r.QWFLDFIELDPOINTER);
  EXPECT_EQ(otherNumbers, (std::set<std::int16_t>{1, 2, 3, 4, 5, 6, 7}));
}

TEST_F(FieldRegistry, RanksCompareDescriptionsInCapitals) {
  XBQW_FIELDSQUEUE f;
  std::int32_t error = 0;
  XB_ADDFIELDSQUEUEDATA(f, error,
                        packed({"beta", "0", "B", "", "", "1", "1", "", ""}) +
                            packed({"Alpha", "0", "A", "", "", "1", "1", "", ""}) +
                            packed({"GAMMA", "0", "G", "", "", "1", "1", "", ""}));
  XB_INITFIELDSQUEUE(f, "Ranks");
  ASSERT_EQ(f.size(), 3u);
  EXPECT_EQ(f[0].QWFLDDESC, "Alpha");
  EXPECT_EQ(f[1].QWFLDDESC, "beta");
  EXPECT_EQ(f[2].QWFLDDESC, "GAMMA");
}

TEST_F(FieldRegistry, RemovedFieldInvalidatesItsQueriesAndItsNumberIsReused) {
  XBQW_FIELDSQUEUE f = prayerFields();
  XB_INITFIELDSQUEUE(f, "PrayerRequest");
  const std::int16_t comments = numberOf(f, "PRA:Comments");
  const std::int32_t usesComments = saveOne(f, "PRA:Comments");
  const std::int32_t comparesComments = saveOne(f, "PRA:Answer", rankOf(f, "PRA:Comments"));
  const std::int32_t untouched = saveOne(f, "PRA:Request");
  ASSERT_EQ(untouched, 3);

  XBQW_FIELDSQUEUE fewer = without(prayerFields(), "PRA:Comments");
  XB_INITFIELDSQUEUE(fewer, "PrayerRequest");
  for (const auto& r : fewer) EXPECT_EQ(r.QWFLDFIELDPOINTER, numberOf(f, r.QWFLDDESC));

  auto q = loadQuery(usesComments, fewer);
  ASSERT_TRUE(q);
  EXPECT_TRUE(q->query.invalid);
  EXPECT_EQ(q->elements[0].FLDQPOINTER, -1);
  EXPECT_EQ(q->elements[0].DESC, "????? Is Equal To x");
  q = loadQuery(comparesComments, fewer);
  ASSERT_TRUE(q);
  EXPECT_TRUE(q->query.invalid);
  EXPECT_EQ(q->elements[0].CMPFLDQPOINTER, -1);
  EXPECT_NE(q->elements[0].FLDQPOINTER, -1);
  q = loadQuery(untouched, fewer);
  ASSERT_TRUE(q);
  EXPECT_FALSE(q->query.invalid);

  // The stored pointers are -1 now, so bringing the field back does not revive the query.
  XBQW_FIELDSQUEUE more = fewer;
  std::int32_t error = 0;
  XB_ADDFIELDSQUEUEDATA(more, error, packed({"PRA:Prayed For", "0", "PRA:PrayedFor", "@s30", "30", "1", "1", "", ""}));
  XB_INITFIELDSQUEUE(more, "PrayerRequest");
  EXPECT_EQ(numberOf(more, "PRA:Prayed For"), comments);
  q = loadQuery(usesComments, more);
  ASSERT_TRUE(q);
  EXPECT_EQ(q->elements[0].FLDQPOINTER, -1);

  // Saving the query again clears its mark.
  CurrentQuery fixed = {makeElement(rankOf(more, "PRA:Request"), more, kIsEqualTo, "y")};
  descriptions.push_back("fixed");
  SaveInput in;
  in.className = "PrayerRequest";
  in.filterText = "UPPER(PRA:Request) = 'Y'";
  in.isNew = false;
  in.number = usesComments;
  std::string accepted;
  ASSERT_EQ(saveQuery(fixed, more, in, accepted), usesComments);
  q = loadQuery(usesComments, more);
  ASSERT_TRUE(q);
  EXPECT_FALSE(q->query.invalid);
}

TEST_F(FieldRegistry, NewFieldTakesTheLowestFreeNumber) {
  XBQW_FIELDSQUEUE f = prayerFields();
  XB_INITFIELDSQUEUE(f, "PrayerRequest");
  XBQW_FIELDSQUEUE more = prayerFields();
  std::int32_t error = 0;
  XB_ADDFIELDSQUEUEDATA(more, error, packed({"Zeal", "0", "PRA:Zeal", "@s3", "3", "1", "1", "", ""}));
  XB_INITFIELDSQUEUE(more, "PrayerRequest");
  EXPECT_EQ(numberOf(more, "Zeal"), 9);
  for (const auto& r : f) EXPECT_EQ(numberOf(more, r.QWFLDDESC), r.QWFLDFIELDPOINTER);
}

TEST_F(FieldRegistry, ExpressionsAreRegisteredUnderTheirDescription) {
  XBQW_FIELDSQUEUE f = prayerFields();
  std::int32_t error = 0;
  XB_ADDFIELDSQUEUEDATA(f, error, packed({"Days open", "1", "TODAY() - PRA:DateStarted", "@n6", "6", "2", "1", "", ""}));
  XB_INITFIELDSQUEUE(f, "PrayerRequest");
  const std::int16_t days = numberOf(f, "Days open");
  const std::int32_t query = saveOne(f, "Days open");

  // Renamed: the old expression is gone, the renamed one is new.
  XBQW_FIELDSQUEUE renamed = prayerFields();
  XB_ADDFIELDSQUEUEDATA(renamed, error, packed({"Days waiting", "1", "TODAY() - PRA:DateStarted", "@n6", "6", "2", "1", "", ""}));
  XB_INITFIELDSQUEUE(renamed, "PrayerRequest");
  EXPECT_EQ(numberOf(renamed, "Days waiting"), days);  // the freed number is the lowest free one
  const auto q = loadQuery(query, renamed);
  ASSERT_TRUE(q);
  EXPECT_TRUE(q->query.invalid);

  // A field's description may change freely: fields are registered under their name.
  XBQW_FIELDSQUEUE relabelled = renamed;
  for (auto& r : relabelled)
    if (r.QWFLDNAME == "PRA:Request") r.QWFLDDESC = "The Request";
  busy.clear();
  XB_INITFIELDSQUEUE(relabelled, "PrayerRequest");
  EXPECT_TRUE(busy.empty());
  EXPECT_EQ(numberOf(relabelled, "The Request"), numberOf(renamed, "PRA:Request"));
}

TEST_F(FieldRegistry, TooManyFieldsIsADesignError) {
  XBQW_FIELDSQUEUE f(30001);
  XB_INITFIELDSQUEUE(f, "Big");
  EXPECT_TRUE(f.empty());
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(shown[0].caption, "Application Design Error");
  EXPECT_EQ(shown[0].text, "Error in Query Wizard XB_InitFieldsQueue Function|Too Many Fields Declared in the Queue");
}

TEST_F(FieldRegistry, LockedFileChangesNothingAndSaysSo) {
  XBQW_FIELDSQUEUE f = prayerFields();
  XB_INITFIELDSQUEUE(f, "PrayerRequest");
  vrt::sql::Database other;
  ASSERT_EQ(other.open("QUERIES.TPS", false, false), SQLITE_OK);
  ASSERT_EQ(other.exec("BEGIN IMMEDIATE"), SQLITE_OK);
  shown.clear();
  XBQW_FIELDSQUEUE more = prayerFields();
  std::int32_t error = 0;
  XB_ADDFIELDSQUEUEDATA(more, error, packed({"Zeal", "0", "PRA:Zeal", "@s3", "3", "1", "1", "", ""}));
  XB_INITFIELDSQUEUE(more, "PrayerRequest");
  other.exec("ROLLBACK");
  ASSERT_FALSE(shown.empty());
  EXPECT_EQ(shown.back().caption, "Field List Update Error");
  EXPECT_EQ(shown.back().text.rfind("Error Locking Query Wizard Data Files|ERROR - ", 0), 0u);
  // The new field has no number, and the next registration gives it one.
  EXPECT_EQ(numberOf(more, "Zeal"), -1);
  XB_INITFIELDSQUEUE(more, "PrayerRequest");
  EXPECT_EQ(numberOf(more, "Zeal"), 9);
}
