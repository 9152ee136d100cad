// The saved-query file: its records byte for byte, saving, loading, listing, deleting,
// the earlier element layout, and files that are damaged or read-only.
#include "querywizard/query_store.h"

#include <sys/stat.h>

#include <filesystem>
#include <fstream>

#include "querywizard/filter_text.h"
#include "querywizard/qrywiz.h"
#include "querywizard/query_tables.h"
#include "qw_fixture.h"
#include "runtime/gui/buttons.h"
#include "runtime/store/data_file.h"
#include "runtime/store/file_repair.h"
#include "runtime/store/pg_db.h"
#include "store_support.h"

using namespace qrywiz;
using namespace qwtest;

namespace {

class QueryStore : public QwTest {
 protected:
  void SetUp() override {
    QwTest::SetUp();
    fields = prayerFields();
    XB_INITFIELDSQUEUE(fields, "PrayerRequest");
  }

  // Saves a new query of two elements: Request contains `word` AND Number > 5.
  std::int32_t saveTwoElements(const std::string& cls, const std::string& word, const std::string& desc) {
    CurrentQuery q = {makeElement(rankOf(fields, "PRA:Request"), fields, kContains, word, "AND"),
                      makeElement(rankOf(fields, "PRA:Request Number"), fields, kIsGreaterThan, "5")};
    const std::string text = assembleQuery(q, Syntax::Standard);
    descriptions.push_back(desc);
    std::string accepted;
    SaveInput in;
    in.className = cls;
    in.filterText = text;
    return saveQuery(q, fields, in, accepted);
  }

  void addRaw(const vrt::TableSchema& schema, const std::string& name, const RawRecord& r) {
    vrt::DataFile f(schema, name);
    if (!f.open()) {
      ASSERT_TRUE(f.create());
      ASSERT_TRUE(f.open());
    }
    f.buffer().assign(r.bytes);
    ASSERT_TRUE(f.add());
  }

  XBQW_FIELDSQUEUE fields;
};

std::vector<std::vector<unsigned char>> rawRows(const vrt::TableSchema& schema, const std::string& name) {
  vrt::DataFile f(schema, name);
  std::vector<std::vector<unsigned char>> rows;
  if (!f.open()) return rows;
  f.setToStart(vrt::DataFile::kFileOrder);
  while (f.next()) rows.push_back(f.buffer().raw());
  return rows;
}

// Takes the saved-query tables away, as deleting their file does.
void removeQueryTables() {
  if (!vtest::serverEngineWanted()) {
    std::filesystem::remove("QUERIES.TPS");
    return;
  }
  vrt::pg::Connection* c = vrt::pg::serverConnection(vrt::store::currentDataLocation());
  ASSERT_TRUE(c);
  ASSERT_TRUE(c->exec("DROP TABLE IF EXISTS \"XBQW_Queries\", \"XBQW_Elements\", \"XBQW_Fields\" CASCADE").ok());
}

const char* kQueriesName = "QUERIES.TPS\\!XBQW_Queries";
const char* kElementsName = "QUERIES.TPS\\!XBQW_Elements";
const char* kFieldsName = "QUERIES.TPS\\!XBQW_Fields";

}  // namespace

TEST_F(QueryStore, RecordsBuiltFromTheOffsetTablesReadBackThroughTheLibrary) {
  EXPECT_EQ(queriesSchema().recordSize, 1120u);
  EXPECT_EQ(elementsSchema().recordSize, 98u);
  EXPECT_EQ(fieldsSchema().recordSize, 113u);
  // Two fields registered under numbers of our choosing.
  addRaw(fieldsSchema(), kFieldsName, fieldRow("CLASSX", 0, "PRA:REQUEST", 300));
  addRaw(fieldsSchema(), kFieldsName, fieldRow("CLASSX", 0, "PRA:DATESTARTED", 258));
  addRaw(queriesSchema(), kQueriesName, queryRow(41, "CLASSX", "Care requests", 0, 1, "INSTRING('CARE',UPPER(PRA:Request),1,1)"));
  addRaw(elementsSchema(), kElementsName, elementRow(41, 300, 0, "AND", "care", 0, kContains, 0));
  addRaw(elementsSchema(), kElementsName, elementRow(41, 258, 0, "", "75000", 0, kIsEqualTo, 0));

  XBQW_FIELDSQUEUE mine = prayerFields();
  XB_INITFIELDSQUEUE(mine, "classx");
  const auto& request = mine[static_cast<std::size_t>(rankOf(mine, "PRA:Request") - 1)];
  EXPECT_EQ(request.QWFLDFIELDPOINTER, 300);

  std::string text;
  XB_GETQUERY(41, text);
  EXPECT_EQ(text, "INSTRING('CARE',UPPER(PRA:Request),1,1)");
  XBQW_QUERIESQUEUE list;
  XB_FILLQWQUEUE(list, "ClassX");
  ASSERT_EQ(list.size(), 2u);
  EXPECT_EQ(list[1].description, "Care requests");
  EXPECT_EQ(list[1].queryNumber, 41);
  EXPECT_EQ(list[1].sortKey, "3CARE REQUESTS");

  const auto loaded = loadQuery(41, mine);
  ASSERT_TRUE(loaded);
  EXPECT_TRUE(loaded->query.invalid);
  EXPECT_FALSE(loaded->query.manual);
  ASSERT_EQ(loaded->elements.size(), 2u);
  EXPECT_EQ(loaded->elements[0].DESC, "PRA:Request Contains care");
  EXPECT_EQ(loaded->elements[0].CONJUNCTION, "AND");
  EXPECT_EQ(loaded->elements[0].FIELDNAME, "PRA:Request");
  EXPECT_EQ(loaded->elements[1].DESC, "PRA:Date Started Is Equal To 05-02-2006");
  EXPECT_EQ(loaded->elements[1].OPCODE, kIsEqualTo);
  EXPECT_EQ(loaded->elements[1].NORMALFG, 255);
  EXPECT_EQ(loaded->elements[1].SELECTBG, -1);
}

TEST_F(QueryStore, SavedRowsMatchTheOffsetTablesByteForByte) {
  const std::int32_t no = saveTwoElements("PrayerRequest", "care", "Care requests");
  ASSERT_EQ(no, 1);
  const std::int32_t request = fields[static_cast<std::size_t>(rankOf(fields, "PRA:Request") - 1)].QWFLDFIELDPOINTER;
  const std::int32_t number =
      fields[static_cast<std::size_t>(rankOf(fields, "PRA:Request Number") - 1)].QWFLDFIELDPOINTER;

  const auto queries = rawRows(queriesSchema(), kQueriesName);
  ASSERT_EQ(queries.size(), 1u);
  EXPECT_EQ(queries[0], queryRow(1, "PRAYERREQUEST", "Care requests", 0, 0,
                                 "INSTRING('CARE',UPPER(PRA:Request),1,1) AND PRA:RequestNumber > 5")
                            .bytes);
  const auto elements = rawRows(elementsSchema(), kElementsName);
  ASSERT_EQ(elements.size(), 2u);
  EXPECT_EQ(elements[0], elementRow(1, request, 0, "AND", "care", 0, kContains, 0).bytes);
  EXPECT_EQ(elements[1], elementRow(1, number, 0, "", "5", 0, kIsGreaterThan, 0).bytes);
  const auto registered = rawRows(fieldsSchema(), kFieldsName);
  ASSERT_EQ(registered.size(), 8u);
  bool seen = false;
  for (const auto& r : registered)
    seen = seen || r == fieldRow("PRAYERREQUEST", 0, "PRA:REQUEST", static_cast<std::int16_t>(request)).bytes;
  EXPECT_TRUE(seen);
}

TEST_F(QueryStore, NumbersAreSharedByAllClassesAndRewritingReplacesTheElements) {
  EXPECT_EQ(saveTwoElements("PrayerRequest", "care", "B query"), 1);
  EXPECT_EQ(saveTwoElements("Other", "x", "Other's"), 2);
  EXPECT_EQ(saveTwoElements("PrayerRequest", "hope", "A query"), 3);

  // Rewrite query 1 with one element and a new description.
  CurrentQuery q = {makeElement(rankOf(fields, "PRA:Category"), fields, kIsEqualTo, "Family")};
  descriptions.push_back("Family only");
  SaveInput in;
  in.className = "PrayerRequest";
  const std::string text = assembleQuery(q, Syntax::Standard);
  in.filterText = text;
  in.isNew = false;
  in.number = 1;
  std::string accepted;
  EXPECT_EQ(saveQuery(q, fields, in, accepted), 1);
  EXPECT_EQ(accepted, "Family only");
  const auto loaded = loadQuery(1, fields);
  ASSERT_TRUE(loaded);
  ASSERT_EQ(loaded->elements.size(), 1u);
  EXPECT_EQ(loaded->elements[0].VALUE, "Family");
  EXPECT_EQ(loaded->query.queryString, "UPPER(PRA:RequestCategory) = 'FAMILY'");

  XBQW_QUERIESQUEUE list;
  XB_FILLQWQUEUE(list, "prayerrequest", 1);
  ASSERT_EQ(list.size(), 4u);
  EXPECT_EQ(list[0].description, "All Records");
  EXPECT_EQ(list[0].sortKey, "1");
  EXPECT_EQ(list[1].description, "Custom Query...");
  EXPECT_EQ(list[1].sortKey, "2");
  EXPECT_EQ(list[2].description, "A query");
  EXPECT_EQ(list[3].description, "Family only");
  EXPECT_EQ(list[3].queryNumber, 1);
}

TEST_F(QueryStore, CancelledDescriptionFormSavesNothing) {
  CurrentQuery q = {makeElement(1, fields, kIsEqualTo, "1")};
  descriptions.push_back(std::nullopt);
  SaveInput in;
  in.className = "PrayerRequest";
  in.filterText = "PRA:RequestNumber = 1";
  std::string accepted;
  EXPECT_EQ(saveQuery(q, fields, in, accepted), 0);
  EXPECT_TRUE(rawRows(queriesSchema(), kQueriesName).empty());
  EXPECT_TRUE(rawRows(elementsSchema(), kElementsName).empty());
}

TEST_F(QueryStore, ManualQueriesKeepNoElements) {
  CurrentQuery q = {makeElement(1, fields, kIsEqualTo, "1")};
  descriptions.push_back("Select Category");
  SaveInput in;
  in.className = "PrayerRequest";
  in.filterText = "UPPER(PRA:RequestCategory) = RUNTIMECATEGORY";
  in.manualPage = true;
  std::string accepted;
  const std::int32_t no = saveQuery(q, fields, in, accepted);
  ASSERT_EQ(no, 1);
  EXPECT_TRUE(q.empty());
  const auto loaded = loadQuery(no, fields);
  ASSERT_TRUE(loaded);
  EXPECT_TRUE(loaded->query.manual);
  EXPECT_TRUE(loaded->elements.empty());
}

TEST_F(QueryStore, FixedEntriesAndQueriesOfAnEmptyClass) {
  XBQW_QUERIESQUEUE list = {{"stale", 9, "3STALE"}};
  XB_FILLQWQUEUE(list, "Nothing", 1);
  ASSERT_EQ(list.size(), 2u);
  EXPECT_EQ(list[0].description, "All Records");
  EXPECT_EQ(list[1].description, "Custom Query...");
  XB_FILLQWQUEUE(list, "Nothing");
  ASSERT_EQ(list.size(), 1u);
  XB_FILLQWQUEUE(list, "Nothing", 0);
  EXPECT_EQ(list.size(), 1u);
}

TEST_F(QueryStore, GetQueryWithZeroOrAnUnknownNumberYieldsEmptyText) {
  std::filesystem::remove("QUERIES.TPS");
  std::string text = "old";
  XB_GETQUERY(0, text);
  EXPECT_EQ(text, "");
  EXPECT_FALSE(std::filesystem::exists("QUERIES.TPS"));
  text = "old";
  XB_GETQUERY(12, text);
  EXPECT_EQ(text, "");
}

TEST_F(QueryStore, DeleteAsksFirstAndRemovesTheElementsToo) {
  ASSERT_EQ(saveTwoElements("PrayerRequest", "care", "One"), 1);
  ASSERT_EQ(saveTwoElements("PrayerRequest", "hope", "Two"), 2);
  EXPECT_EQ(XB_DELETEQUERY(77), 0);
  EXPECT_TRUE(shown.empty());

  answers.push_back(vrt::kButtonCancel);
  EXPECT_EQ(XB_DELETEQUERY(1), 0);
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(shown[0].caption, "Confirm Delete");
  EXPECT_EQ(rawRows(elementsSchema(), kElementsName).size(), 4u);

  answers.push_back(vrt::kButtonOk);
  EXPECT_EQ(XB_DELETEQUERY(1, 1), 1);
  std::string text;
  XB_GETQUERY(1, text);
  EXPECT_EQ(text, "");
  const auto left = rawRows(elementsSchema(), kElementsName);
  ASSERT_EQ(left.size(), 2u);
  for (const auto& r : left) EXPECT_EQ(r[0], 2);
  XB_GETQUERY(2, text);
  EXPECT_NE(text, "");
}

TEST_F(QueryStore, ElementDescriptions) {
  XBQW_FIELDSQUEUE f = prayerFields();
  std::int32_t error = 0;
  XB_ADDFIELDSQUEUEDATA(f, error,
                        packed({"Taken At", "0", "PRA:TimeTaken", "@t4", "4", "5", "1", "", ""}) +
                            packed({"Urgent", "0", "PRA:Urgent", "@n1", "1", "2", "2", "", ""}));
  XB_INITFIELDSQUEUE(f, "Descriptions");
  auto e = makeElement(rankOf(f, "Taken At"), f, kIsLessThan, "6300001");
  EXPECT_EQ(describeElement(e, f), "Taken At Is Less Than 5:30PM");
  e = makeElement(rankOf(f, "Urgent"), f, kIsChecked, "1");
  EXPECT_EQ(describeElement(e, f), "Urgent Is Checked");
  e = makeElement(rankOf(f, "PRA:Request"), f, kIsEqualTo, "PRA:Comments", "", rankOf(f, "PRA:Comments"));
  EXPECT_EQ(describeElement(e, f), "PRA:Request Is Equal To PRA:Comments");
  e.CMPFLDQPOINTER = -1;
  EXPECT_EQ(describeElement(e, f), "????? Is Equal To ");
  e = makeElement(rankOf(f, "PRA:Request"), f, kIsEqualTo, "CLIP(PRA:Comments)  ");
  e.EXPRESSION = 1;
  EXPECT_EQ(describeElement(e, f), "PRA:Request Is Equal To CLIP(PRA:Comments)");
  e.FLDQPOINTER = -1;
  e.EXPRESSION = 0;
  EXPECT_EQ(describeElement(e, f), "????? Is Equal To CLIP(PRA:Comments)");
  e = makeElement(rankOf(f, "PRA:Comments"), f, kIsEqualTo, std::string(80, 'v'));
  EXPECT_EQ(describeElement(e, f).size(), 60u);
}

TEST_F(QueryStore, CheckBoxElementsLoadAsCheckedOrNotFromTheirValue) {
  XBQW_FIELDSQUEUE f = prayerFields();
  std::int32_t error = 0;
  XB_ADDFIELDSQUEUEDATA(f, error, packed({"Urgent", "0", "PRA:Urgent", "@n1", "1", "2", "2", "", ""}));
  XB_INITFIELDSQUEUE(f, "PrayerRequest");
  const std::int32_t urgent = f[static_cast<std::size_t>(rankOf(f, "Urgent") - 1)].QWFLDFIELDPOINTER;
  addRaw(queriesSchema(), kQueriesName, queryRow(5, "PRAYERREQUEST", "Urgent", 0, 0, "PRA:Urgent <> 0"));
  addRaw(elementsSchema(), kElementsName, elementRow(5, urgent, 0, "OR", "0", 0, kIsChecked, 0));
  addRaw(elementsSchema(), kElementsName, elementRow(5, urgent, 0, "", "1", 0, kIsNotChecked, 0));
  const auto loaded = loadQuery(5, f);
  ASSERT_TRUE(loaded);
  ASSERT_EQ(loaded->elements.size(), 2u);
  EXPECT_EQ(loaded->elements[0].OPCODE, kIsNotChecked);
  EXPECT_EQ(loaded->elements[1].OPCODE, kIsChecked);
}

TEST_F(QueryStore, OldElementLayoutIsConvertedTheFirstTimeItIsOpened) {
  removeQueryTables();
  addRaw(queriesSchema(), kQueriesName, queryRow(1, "PRAYERREQUEST", "Old one", 0, 0, "x"));
  const char* names[] = {"Is Equal To", "Is NOT Equal To", "Is Greater Than", "Is Less Than",
                         "Is Greater Than or Equal To", "Is Less Than or Equal To", "Begins With", "Contains",
                         "Does NOT Begin With", "Does NOT Contain", "Is Checked", "Is Not Checked", "is equal to"};
  for (int i = 0; i < 13; ++i) {
    RawRecord r(137);
    r.i32(0, 1).i32(4, 2).i32(8, 0).str(12, 3, "OR").str(15, 80, "v" + std::to_string(i)).u8(95, 1);
    r.str(96, 40, names[i]).u8(136, 0);
    addRaw(oldElementsSchema(), kElementsName, r);
  }
  std::vector<std::string> busy;
  hooks().busyBegin = [&](std::string_view text) { busy.emplace_back(text); };
  const auto loaded = loadQuery(1, fields);
  ASSERT_TRUE(loaded);
  ASSERT_EQ(loaded->elements.size(), 13u);
  for (int i = 0; i < 12; ++i) {
    EXPECT_EQ(loaded->elements[static_cast<std::size_t>(i)].OPCODE, i + 1) << names[i];
    EXPECT_EQ(loaded->elements[static_cast<std::size_t>(i)].VALUE, "v" + std::to_string(i));
    EXPECT_EQ(loaded->elements[static_cast<std::size_t>(i)].MATCHTYPE, 1);
  }
  EXPECT_EQ(loaded->elements[12].OPCODE, 0);  // names compare exactly
  EXPECT_EQ(busy, std::vector<std::string>{"Converting Data File Structure  -- Please Wait..."});
  EXPECT_TRUE(shown.empty());
  // Once converted, the table opens as it is.
  busy.clear();
  ASSERT_TRUE(loadQuery(1, fields));
  EXPECT_TRUE(busy.empty());
  if (vtest::serverEngineWanted()) return;  // the rest looks inside the file
  EXPECT_TRUE(vrt::store::checkFile("QUERIES.TPS", vrt::store::TableLayout(elementsSchema(), "XBQW_Elements",
                                                                           "XBQW_Elements_"))
                  .ok);
}

TEST_F(QueryStore, FailedConversionLeavesTheOldTableAsItWas) {
  removeQueryTables();
  // A table of the element name whose layout is neither the current nor the earlier one.
  vrt::TableSchema odd = oldElementsSchema();
  odd.fields.erase(odd.fields.begin() + 6);  // no OPERATOR
  odd.fields.back().offset = 96;
  odd.recordSize = 97;
  addRaw(odd, kElementsName, [] {
    RawRecord r(97);
    r.i32(0, 3).str(12, 3, "").str(15, 80, "keep me");
    return r;
  }());
  addRaw(queriesSchema(), kQueriesName, queryRow(3, "PRAYERREQUEST", "Three", 0, 0, "x"));
  EXPECT_FALSE(loadQuery(3, fields));
  ASSERT_FALSE(shown.empty());
  EXPECT_EQ(shown.back().text.rfind("Error Converting Elements File - ", 0), 0u) << shown.back().text;
  const auto rows = rawRows(odd, kElementsName);
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(std::string(rows[0].begin() + 15, rows[0].begin() + 22), "keep me");
}

TEST_F(QueryStore, DamagedFileGivesTheStoreMessageAndCallersGoOn) {
  std::filesystem::remove("QUERIES.TPS");
  {
    std::ofstream out("QUERIES.TPS", std::ios::binary);
    out << std::string(4096, '\x5a');
  }
  XBQW_QUERIESQUEUE list;
  XB_FILLQWQUEUE(list, "PrayerRequest", 1);
  EXPECT_EQ(list.size(), 2u);
  EXPECT_TRUE(wasShown("File Access Error"));
  std::string text = "x";
  XB_GETQUERY(1, text);
  EXPECT_EQ(text, "");
  XBQW_FIELDSQUEUE f = prayerFields();
  XB_INITFIELDSQUEUE(f, "PrayerRequest");
  ASSERT_EQ(f.size(), 8u);
  EXPECT_EQ(f[0].QWFLDQPOINTER, 1);
  EXPECT_EQ(f[0].QWFLDFIELDPOINTER, -1);
  EXPECT_EQ(saveTwoElements("PrayerRequest", "x", "never"), 0);
  // Nothing was written over the damaged bytes.
  std::ifstream in("QUERIES.TPS", std::ios::binary);
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), std::string(4096, '\x5a'));
}

TEST_F(QueryStore, ReadOnlyFileStillServesItsQueries) {
  ASSERT_EQ(saveTwoElements("PrayerRequest", "care", "Kept"), 1);
  ::chmod("QUERIES.TPS", 0444);
  XBQW_QUERIESQUEUE list;
  XB_FILLQWQUEUE(list, "PrayerRequest");
  ASSERT_EQ(list.size(), 2u);
  EXPECT_EQ(list[1].description, "Kept");
  shown.clear();
  EXPECT_EQ(saveTwoElements("PrayerRequest", "hope", "Refused"), 0);
  EXPECT_FALSE(shown.empty());
  answers.push_back(vrt::kButtonOk);
  answers.push_back(vrt::kButtonOk);
  answers.push_back(vrt::kButtonNo);
  EXPECT_EQ(XB_DELETEQUERY(1), 0);
  ::chmod("QUERIES.TPS", 0644);
  XB_FILLQWQUEUE(list, "PrayerRequest");
  EXPECT_EQ(list.size(), 2u);
}
