// The word index: what a word search finds, as records are added, changed and removed, in
// and out of transactions, and when the index is missing or rebuilt.
#include <gtest/gtest.h>

#include <algorithm>

#include "runtime/data/errors.h"
#include "runtime/store/file_repair.h"
#include "runtime/store/transaction.h"
#include "runtime/store/view.h"
#include "runtime/store/word_index.h"
#include "runtime/text/search_words.h"
#include "support/temp_dir.h"
#include "test_schema.h"

using namespace vrt;
using namespace vtest;

namespace {

// People whose names and notes are searched by word.
TableSchema searchedPeople() {
  TableSchema t = peopleSchema();
  t.searchFields = {kName, kNote};
  return t;
}

class WordIndexTest : public ::testing::Test {
 protected:
  TempDir dir;
  TableSchema schema = searchedPeople();
  DataFile people{schema};

  void SetUp() override {
    ASSERT_TRUE(people.create());
    ASSERT_TRUE(people.open());
    add(1, "Ann", "Dios está aquí");
    add(2, "Bob", "Amazing Grace, how sweet");
    add(3, "Carl", "主耶穌我愛祢");
    add(4, "Dora", "It’s well with my soul");
    add(5, "Eve", "Gracefully broken");
  }
  void add(int number, const std::string& name, const std::string& note) {
    auto& f = people.schema().fields;
    people.buffer().clearAll(f);
    people.buffer().setNumber(f[kNumber], number);
    people.buffer().setText(f[kName], name);
    people.buffer().setText(f[kNote], note);
    ASSERT_TRUE(people.add()) << errorMessage();
  }
  // The numbers a word search finds, in number order, and whether the index answered it.
  std::vector<int> found(DataFile& file, const std::string& words, bool* fromIndex = nullptr) {
    View v(file);
    EXPECT_TRUE(v.setOrder("+PEO:Number"));
    EXPECT_TRUE(v.setFilter("MATCHWORDS('" + words + "', PEO:Name, PEO:Note)")) << errorMessage();
    EXPECT_TRUE(v.open());
    if (fromIndex) *fromIndex = v.pushedTerms() == 1 && v.residualTerms() == 0;
    std::vector<int> out;
    v.setToStart();
    while (v.next()) out.push_back(static_cast<int>(file.buffer().number(file.schema().fields[kNumber])));
    v.close();
    return out;
  }
};

}  // namespace

TEST(SearchWords, SplitFoldAndMatchAsTheIndexDoes) {
  EXPECT_EQ(searchWords("Dios está aquí"), (std::vector<std::string>{"DIOS", "ESTA", "AQUI"}));
  EXPECT_EQ(searchWords("  It’s well—with «my» soul… "),
            (std::vector<std::string>{"IT", "S", "WELL", "WITH", "MY", "SOUL"}));
  EXPECT_EQ(searchWords("主耶穌我愛祢").size(), 1u);
  EXPECT_EQ(searchWords("Œuvre, Ångström, Łódź, Ñu"), (std::vector<std::string>{"ŒUVRE", "ANGSTROM", "LODZ", "NU"}));
  EXPECT_EQ(searchWords("ISBN 978-0-19"), (std::vector<std::string>{"ISBN", "978", "0", "19"}));
  EXPECT_TRUE(wordsMatch("gra swe", {"Amazing Grace, how sweet"}));
  EXPECT_TRUE(wordsMatch("", {"anything"}));
  EXPECT_FALSE(wordsMatch("race", {"Amazing Grace"})) << "words are matched from their start";
  EXPECT_TRUE(wordsMatch("aqui DIOS", {"x", "Dios está aquí"}));
}

TEST_F(WordIndexTest, TheIndexFindsEveryWordFromItsStartWhateverItsCaseAndAccents) {
  ASSERT_TRUE(people.hasWordIndex());
  bool fromIndex = false;
  EXPECT_EQ(found(people, "gra", &fromIndex), (std::vector<int>{2, 5}));
  EXPECT_TRUE(fromIndex);
  EXPECT_EQ(found(people, "AQUI dios"), (std::vector<int>{1}));
  EXPECT_EQ(found(people, "está"), (std::vector<int>{1}));
  EXPECT_EQ(found(people, "主耶"), (std::vector<int>{3}));
  EXPECT_EQ(found(people, "it''s soul"), (std::vector<int>{4}));
  EXPECT_EQ(found(people, "dora"), (std::vector<int>{4})) << "the name is searched too";
  EXPECT_EQ(found(people, "race"), (std::vector<int>{}));
  EXPECT_EQ(found(people, "  "), (std::vector<int>{1, 2, 3, 4, 5})) << "no word: every record";
  // Quotes and the index's own syntax in the typed text are only words.
  EXPECT_EQ(found(people, "\"gra\" OR NEAR"), (std::vector<int>{}));
  EXPECT_EQ(found(people, "gra*"), (std::vector<int>{2, 5}));
}

TEST_F(WordIndexTest, ChangesAndRemovalsKeepTheIndexInStepAndARollbackLeavesItAsItWas) {
  const auto& f = people.schema().fields;
  people.buffer().setNumber(f[kNumber], 2);
  ASSERT_TRUE(people.get(0));
  people.buffer().setText(f[kNote], "Be thou my vision");
  ASSERT_TRUE(people.put());
  EXPECT_EQ(found(people, "grace"), (std::vector<int>{5}));
  EXPECT_EQ(found(people, "vision"), (std::vector<int>{2}));
  people.buffer().setNumber(f[kNumber], 5);
  ASSERT_TRUE(people.get(0));
  ASSERT_TRUE(people.erase());
  EXPECT_EQ(found(people, "gra"), (std::vector<int>{}));
  {
    Transaction txn({&people}, 2);
    ASSERT_TRUE(txn.begin());
    add(6, "Fay", "Great is thy faithfulness");
    txn.rollback();
  }
  EXPECT_EQ(found(people, "great"), (std::vector<int>{}));
  {
    Transaction txn({&people}, 2);
    ASSERT_TRUE(txn.begin());
    add(6, "Fay", "Great is thy faithfulness");
    ASSERT_TRUE(txn.commit());
  }
  EXPECT_EQ(found(people, "great faith"), (std::vector<int>{6}));
}

TEST_F(WordIndexTest, WithoutTheIndexEachRecordIsCheckedAndRepairMakesItAgain) {
  const std::string path = people.path();
  people.close();
  {
    sql::Database db;
    ASSERT_EQ(db.open(path, false, false), SQLITE_OK);
    ASSERT_EQ(db.exec("DROP TABLE \"People__words\""), SQLITE_OK);
  }
  EXPECT_FALSE(store::checkFile(path, people.layout()).ok);
  DataFile reader(schema);
  ASSERT_TRUE(reader.open(OpenAccess::ReadOnly));
  EXPECT_FALSE(reader.hasWordIndex());
  bool fromIndex = true;
  EXPECT_EQ(found(reader, "gra", &fromIndex), (std::vector<int>{2, 5}));
  EXPECT_FALSE(fromIndex);
  reader.close();
  ASSERT_TRUE(reader.buildKeys()) << errorMessage();
  EXPECT_TRUE(store::checkFile(path, people.layout()).ok);
  ASSERT_TRUE(reader.open(OpenAccess::ReadOnly));
  EXPECT_TRUE(reader.hasWordIndex());
  EXPECT_EQ(found(reader, "gra", &fromIndex), (std::vector<int>{2, 5}));
  EXPECT_TRUE(fromIndex);
}

TEST_F(WordIndexTest, ATableWithoutSearchFieldsHasNoIndexAndItsFileIsUnchanged) {
  TempDir other;
  DataFile plain(peopleSchema());
  ASSERT_TRUE(plain.create());
  ASSERT_TRUE(plain.open());
  EXPECT_FALSE(plain.hasWordIndex());
  EXPECT_FALSE(store::hasSearchFields(plain.layout()));
  // The searched table's declared structure is the plain one's: the index is not part of it.
  EXPECT_EQ(plain.layout().structureText(), people.layout().structureText());
}
