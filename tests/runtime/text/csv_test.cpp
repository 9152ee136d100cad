#include <gtest/gtest.h>

#include "runtime/text/csv.h"

using vrt::CsvCell;
using vrt::CsvKind;
using vrt::CsvLine;

TEST(CsvCell, TextThatASpreadsheetWouldEvaluateIsShownInstead) {
  EXPECT_EQ(CsvCell("=HYPERLINK(\"http://x\")"), "\"'=HYPERLINK(\"\"http://x\"\")\"");
  EXPECT_EQ(CsvCell("+1 555 0100"), "'+1 555 0100");
  EXPECT_EQ(CsvCell("-5"), "'-5");
  EXPECT_EQ(CsvCell("@SUM(A1)"), "'@SUM(A1)");
  EXPECT_EQ(CsvCell("\t=1"), "'\t=1");
  EXPECT_EQ(CsvCell("\r=1"), "\"'\r=1\"");
  // Only the first character counts, and ordinary text is left alone.
  EXPECT_EQ(CsvCell("a=b"), "a=b");
  EXPECT_EQ(CsvCell(" =1"), " =1");
  EXPECT_EQ(CsvCell(""), "");
  EXPECT_EQ(CsvCell("Anna's surgery"), "Anna's surgery");
}

TEST(CsvCell, NumbersAndDatesStayNumbers) {
  EXPECT_EQ(CsvCell("-1,234.50", CsvKind::Number), "\"-1,234.50\"");
  EXPECT_EQ(CsvCell("-.5", CsvKind::Number), "-.5");
  EXPECT_EQ(CsvCell("03-18-2006", CsvKind::Number), "03-18-2006");
  EXPECT_EQ(CsvCell("2026-01-15", CsvKind::Number), "2026-01-15");
  // Whatever stands in a number's place and is not one is text.
  EXPECT_EQ(CsvCell("=1+2", CsvKind::Number), "'=1+2");
  EXPECT_EQ(CsvCell("-", CsvKind::Number), "'-");
  EXPECT_EQ(CsvCell("-x", CsvKind::Number), "'-x");
}

TEST(CsvCell, BytesThatAreNotUtf8BecomeReplacementCharacters) {
  const std::string replacement = "\xEF\xBF\xBD";
  EXPECT_EQ(CsvCell("Caf\xC3\xA9"), "Caf\xC3\xA9");
  EXPECT_EQ(CsvCell("Caf\xE9"), "Caf" + replacement);
  EXPECT_EQ(CsvCell("a\xC3"), "a" + replacement);                      // cut in the middle
  EXPECT_EQ(CsvCell("\xC0\xAF"), replacement + replacement);            // an overlong '/'
  EXPECT_EQ(CsvCell("\xED\xA0\x80x").find("\xED\xA0\x80"), std::string::npos);  // a surrogate
  EXPECT_EQ(CsvCell("=\xFF"), "'=" + replacement);
}

TEST(CsvLine, KindsGoColumnByColumnAndLinesEndInCrLf) {
  EXPECT_EQ(CsvLine({"-1", "-1", "x"}, {CsvKind::Number, CsvKind::Text}), "-1,'-1,x\r\n");
  EXPECT_EQ(CsvLine({}), "\r\n");
}
