#include <gtest/gtest.h>

#include "runtime/text/field.h"
#include "runtime/text/record.h"
#include "runtime/text/utf8.h"

using namespace vrt;

TEST(Utf8, TruncationNeverSplitsACharacter) {
  const std::string euro = "\xE2\x82\xAC";  // three bytes
  const std::string text = "ab" + euro + "c";
  EXPECT_EQ(utf8Truncate(text, 2), "ab");
  EXPECT_EQ(utf8Truncate(text, 3), "ab");
  EXPECT_EQ(utf8Truncate(text, 4), "ab");
  EXPECT_EQ(utf8Truncate(text, 5), "ab" + euro);
  EXPECT_EQ(utf8Truncate(text, 6), text);
  EXPECT_EQ(utf8Length(text), 4u);
  EXPECT_EQ(utf8Left(text, 3), "ab" + euro);
  // A broken sequence is kept byte for byte rather than dropped.
  EXPECT_EQ(utf8Truncate("a\xE2\x82", 3), "a\xE2\x82");
}

TEST(Utf8, FieldsCutLongTextOnCharacterBoundaries) {
  unsigned char buf[8];
  RecordRef rec(buf, sizeof buf);
  const std::string euro = "\xE2\x82\xAC";
  rec.set(StringField{0, 4}, "a" + euro + "b");  // 5 bytes into 4
  EXPECT_EQ(rec.get(StringField{0, 4}), "a" + euro);
  rec.set(StringField{0, 4}, euro + euro);  // second euro does not fit; blanks follow
  EXPECT_EQ(std::string(reinterpret_cast<char*>(buf), 4), euro + " ");
  rec.set(CStringField{4, 4}, euro + "x");  // CSTRING(4) holds 3 bytes and a zero
  EXPECT_EQ(rec.get(CStringField{4, 4}), euro);
  EXPECT_EQ(buf[7], 0);
  rec.set(CStringField{4, 4}, "x" + euro);
  EXPECT_EQ(rec.get(CStringField{4, 4}), "x");
}

TEST(Utf8, ComparisonsIgnoreTrailingBlanksAndFoldCaseOnce) {
  EXPECT_EQ(compareText("abc", "abc   "), 0);
  EXPECT_LT(compareText("abc", "abd"), 0);
  EXPECT_NE(compareText("abc", "ABC"), 0);
  EXPECT_EQ(compareTextNoCase("abc  ", "ABC"), 0);
  EXPECT_EQ(compareTextNoCase("O'Neil", "O'NEIL "), 0);
  EXPECT_LT(compareTextNoCase("abc", "ABCD"), 0);
  EXPECT_GT(compareTextNoCase("b", "A"), 0);
  // Leading blanks do count.
  EXPECT_NE(compareText(" abc", "abc"), 0);
  // Unicode simple upper-casing: accented letters fold, the German sharp s stays one letter.
  EXPECT_EQ(upperCase("\xC3\xA9t\xC3\xA9"), "\xC3\x89T\xC3\x89");  // été -> ÉTÉ
  EXPECT_EQ(upperCase("stra\xC3\x9F" "e"), "STRA\xC3\x9F" "E");
  EXPECT_EQ(compareTextNoCase("\xC3\xA9", "\xC3\x89"), 0);
  EXPECT_EQ(lowerCase("ABC \xC3\x89"), "abc \xC3\xA9");
  EXPECT_EQ(upperCase("x\xFFy"), "X\xFFY");  // a stray byte survives
}
