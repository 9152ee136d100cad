// The case-blind key order: the fast comparison must order every text exactly as the plain
// character-by-character walk does, including accents, other scripts, trailing blanks and
// bytes that are not valid UTF-8 — an index built with one and checked with the other
// would be reported as damaged.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "runtime/store/sqlite_db.h"
#include "runtime/text/utf8.h"
#include "support/temp_dir.h"

using namespace vrt;

namespace {

// The walk the fast comparison replaces, kept as the reference.
int referenceNoCase(std::string_view a, std::string_view b) {
  a = clip(a);
  b = clip(b);
  std::size_t i = 0, j = 0;
  while (i < a.size() && j < b.size()) {
    const auto ca = static_cast<unsigned char>(a[i]);
    const auto cb = static_cast<unsigned char>(b[j]);
    char32_t ua, ub;
    if (ca < 0x80 && cb < 0x80) {
      ua = upperCaseChar(ca);
      ub = upperCaseChar(cb);
      ++i;
      ++j;
    } else {
      ua = upperCaseChar(utf8Next(a, i));
      ub = upperCaseChar(utf8Next(b, j));
    }
    if (ua != ub) return ua < ub ? -1 : 1;
  }
  if (i < a.size()) return 1;
  if (j < b.size()) return -1;
  return 0;
}

// Pieces texts are made of: ASCII in both cases, blanks, accented and other-script letters
// of two to four bytes, and broken sequences (a lone continuation byte, a lead byte cut
// short, bytes that never start a character).
const std::vector<std::string> kPieces = {
    "a", "A", "b", "B", "z", "Z", "m", "0", "9", " ", " ", "'", "-", "~",
    "\xC3\xA9", "\xC3\x89", "\xC3\xA3", "\xC3\x83", "\xC3\x9F", "\xC3\xB1", "\xC3\x91", "\xC3\xBF",
    "\xCF\x83", "\xCE\xA3", "\xCF\x82", "\xD0\xB6", "\xD0\x96", "\xE1\xBA\x9E", "\xE2\x82\xAC",
    "\xF0\x9F\x98\x80", "\xF0\x90\x90\xA8", "\xF0\x90\x90\x80",
    "\x80", "\xBF", "\xC3", "\xE2\x82", "\xF0\x9F", "\xFF", "\xF8",
};

std::string randomText(std::mt19937& random, int maxPieces) {
  std::uniform_int_distribution<int> count(0, maxPieces), piece(0, static_cast<int>(kPieces.size()) - 1);
  std::string text;
  for (int n = count(random); n > 0; --n) text += kPieces[static_cast<std::size_t>(piece(random))];
  return text;
}

// A text that shares a start with `text`, then goes its own way.
std::string relative(std::mt19937& random, const std::string& text) {
  std::uniform_int_distribution<std::size_t> cut(0, text.size());
  std::string other = text.substr(0, cut(random));
  if (random() % 3 == 0 && !other.empty()) other.back() ^= 0x20;  // the case of an ASCII letter
  return other + randomText(random, 3);
}

int sign(int v) { return v < 0 ? -1 : (v > 0 ? 1 : 0); }

}  // namespace

TEST(CollationOrder, TheFastComparisonAgreesWithTheCharacterWalkOnRandomTexts) {
  std::mt19937 random(20261209);
  int compared = 0;
  for (int n = 0; n < 200'000; ++n) {
    const std::string a = randomText(random, 8);
    const std::string b = n % 2 ? randomText(random, 8) : relative(random, a);
    ASSERT_EQ(sign(compareTextNoCase(a, b)), referenceNoCase(a, b)) << '"' << a << "\" vs \"" << b << '"';
    ASSERT_EQ(sign(compareTextNoCase(b, a)), referenceNoCase(b, a)) << '"' << b << "\" vs \"" << a << '"';
    ++compared;
  }
  EXPECT_EQ(compared, 200'000);
}

TEST(CollationOrder, CasesThatTurnOnHowCharactersAreSplit) {
  struct Case {
    const char* a;
    const char* b;
  };
  const Case cases[] = {
      {"\xC3", "\xC3\xA3"},            // a cut-short lead against the whole letter it folds to
      {"x\xC3", "x\xC3\xA9"},          // the same at the end of a longer text
      {"\xC3\xA9t\xC3\xA9", "\xC3\x89T\xC3\x89"},  // "été" against "ÉTÉ": equal
      {"\xC3\xA9", "\xC3\xA8"},        // differing in the second byte of a letter
      {"\xE2\x82\xAC", "\xE2\x82"},    // a sign against its own first two bytes
      {"\xF0\x9F\x98\x80", "\xF0\x9F\x98\x81"},
      {"abc   ", "ABC"},               // trailing blanks do not count
      {"abc ", "abc\xC3\xA9"},
      {"", "   "},
      {"\x80\x80", "\x80"},
      {"a\xCF\x83", "A\xCE\xA3"},      // σ and Σ
  };
  for (const Case& c : cases) {
    EXPECT_EQ(sign(compareTextNoCase(c.a, c.b)), referenceNoCase(c.a, c.b)) << c.a << " vs " << c.b;
    EXPECT_EQ(sign(compareTextNoCase(c.b, c.a)), referenceNoCase(c.b, c.a)) << c.b << " vs " << c.a;
  }
  EXPECT_EQ(compareTextNoCase("\xC3\xA9t\xC3\xA9", "\xC3\x89T\xC3\x89"), 0);
  EXPECT_EQ(compareTextNoCase("abc   ", "ABC"), 0);
  EXPECT_LT(compareTextNoCase("abc", "abd"), 0);
}

TEST(CollationOrder, AnIndexReadsInTheReferenceOrderAndPassesTheIntegrityCheck) {
  vtest::TempDir dir;
  sql::Database db;
  ASSERT_EQ(db.open("order.db", false, true), SQLITE_OK);
  ASSERT_EQ(db.exec(std::string("CREATE TABLE t (v TEXT COLLATE ") + sql::kNoCase + "); CREATE INDEX tv ON t (v)"),
            SQLITE_OK);
  std::mt19937 random(7);
  std::vector<std::string> texts;
  ASSERT_EQ(db.exec("BEGIN"), SQLITE_OK);
  {
    sql::Statement insert(db.handle(), "INSERT INTO t VALUES (?)", false);
    for (int n = 0; n < 20'000; ++n) {
      texts.push_back(n % 2 || texts.empty() ? randomText(random, 6) : relative(random, texts.back()));
      insert.reset();
      insert.bind(1, std::string_view(texts.back()));
      ASSERT_EQ(insert.step(), SQLITE_DONE);
    }
  }
  ASSERT_EQ(db.exec("COMMIT"), SQLITE_OK);

  std::vector<std::string> read;
  {
    sql::Statement s(db.handle(), "SELECT v FROM t INDEXED BY tv ORDER BY v", false);
    while (s.step() == SQLITE_ROW) read.emplace_back(s.text(0));
  }
  ASSERT_EQ(read.size(), texts.size());
  for (std::size_t n = 1; n < read.size(); ++n)
    ASSERT_LE(referenceNoCase(read[n - 1], read[n]), 0) << "rows " << n << " and " << n + 1;
  std::vector<std::string> sorted = texts, readSorted = read;
  std::sort(sorted.begin(), sorted.end());
  std::sort(readSorted.begin(), readSorted.end());
  EXPECT_EQ(readSorted, sorted);  // the same texts, every one once

  sql::Statement check(db.handle(), "PRAGMA integrity_check", false);
  ASSERT_EQ(check.step(), SQLITE_ROW);
  EXPECT_EQ(std::string(check.text(0)), "ok");
}
