// Text functions. Positions and lengths count characters, so accented text behaves.
#include <gtest/gtest.h>

#include <QLocale>

#include "expr_support.h"
#include "runtime/expr/functions.h"
#include "runtime/data/errors.h"
#include "runtime/text/utf8.h"

using namespace exprtest;

TEST(TextFunctions, SubCutsByCharacterPositions) {
  EXPECT_EQ(evalText("SUB('Prayer', 1, 3)"), "Pra");
  EXPECT_EQ(evalText("SUB('Prayer', 4, 10)"), "yer");
  EXPECT_EQ(evalText("SUB('Prayer', 3)"), "ayer") << "without a length, to the end";
  EXPECT_EQ(evalText("SUB('café au lait', 4, 3)"), "é a");
  EXPECT_EQ(evalText("SUB('abc', 0, 2)"), "a") << "positions before the first count but hold nothing";
  EXPECT_EQ(evalText("SUB('abc', 5, 2)"), "");
  EXPECT_EQ(evalText("SUB('abc', 2, -1)"), "");
  EXPECT_EQ(evalText("SUB('abc', 2, 1e300)"), "bc");
  EXPECT_EQ(evalText("SUB('abc', -1e300, 1e300)"), "") << "positions -1e300 to -1";
  EXPECT_EQ(evalText("SUB(12345, 2, 2)"), "23") << "numbers are cut as their text";
}

TEST(TextFunctions, InstringFindsPositionsStepByStep) {
  EXPECT_EQ(evalNumber("INSTRING('CARE', 'PLEASE CARE FOR', 1, 1)"), 8);
  EXPECT_EQ(evalNumber("INSTRING('care', 'PLEASE CARE FOR', 1, 1)"), 0) << "case counts";
  EXPECT_EQ(evalNumber("INSTRING('é', 'café')"), 4);
  EXPECT_EQ(evalNumber("INSTRING('b', 'ééb')"), 3) << "positions count characters, not bytes";
  EXPECT_EQ(evalNumber("INSTRING('ab', 'xabab', 1, 3)"), 4) << "the search begins at the start position";
  EXPECT_EQ(evalNumber("INSTRING('ab', 'xxxab', 3, 1)"), 4) << "a step of 3 tries positions 1 and 4";
  EXPECT_EQ(evalNumber("INSTRING('ab', 'xab', 2, 1)"), 0) << "a step of 2 tries positions 1 and 3 only";
  EXPECT_EQ(evalNumber("INSTRING('ab', 'abxab', -1, 5)"), 4) << "a negative step searches backward";
  EXPECT_EQ(evalNumber("INSTRING('ab', 'abxab', -1)"), 4);
  EXPECT_EQ(evalNumber("INSTRING('', 'abc')"), 0);
  EXPECT_EQ(evalNumber("INSTRING('abc', 'ab')"), 0);
  EXPECT_EQ(evalNumber("INSTRING('b', 'abc', 0, -5)"), 2) << "step 0 counts as 1, a start before 1 as 1";
  EXPECT_EQ(evalNumber("INSTRING('c', 'abc', 1e300, 3)"), 3);
}

TEST(TextFunctions, ClipAndJustify) {
  EXPECT_EQ(evalText("CLIP('  a b  ')"), "  a b");
  EXPECT_EQ(evalText("LEFT('  ab')"), "ab  ") << "keeps the length";
  EXPECT_EQ(evalText("LEFT('  ab', 5)"), "ab   ");
  EXPECT_EQ(evalText("RIGHT('ab  ')"), "  ab");
  EXPECT_EQ(evalText("RIGHT('ab', 5)"), "   ab");
  EXPECT_EQ(evalText("CENTER('ab', 7)"), "  ab   ");
  EXPECT_EQ(evalText("CENTER('  ab  ')"), "  ab  ");
  EXPECT_EQ(evalText("LEFT('abcdef', 3)"), "abc") << "too long: cut as a field of that size would be";
  EXPECT_EQ(evalText("RIGHT('abcdef', 3)"), "abc");
  EXPECT_EQ(evalText("LEFT('éèê', 2)"), "éè");
  EXPECT_EQ(evalText("LEFT('ab', -4)"), "");
}

TEST(TextFunctions, AllRepeatsToALength) {
  EXPECT_EQ(evalText("ALL('ab', 5)"), "ababa");
  EXPECT_EQ(evalText("ALL('-')"), std::string(255, '-')) << "255 characters when no length is given";
  EXPECT_EQ(evalText("ALL('é', 3)"), "ééé");
  EXPECT_EQ(evalText("ALL('', 3)"), "   ");
  EXPECT_EQ(evalText("ALL('x', 0)"), "");
}

TEST(TextFunctions, HugeLengthsAreCutAndReported) {
  Value result;
  const auto e = fault("ALL('x', 1e15)", &result);
  EXPECT_EQ(e.code, vrt::kBadArgument);
  EXPECT_EQ(result.toText().size(), static_cast<std::size_t>(vrt::expr::kMaxTextLength));
  EXPECT_EQ(fault("LEFT('x', 1e300)").code, vrt::kBadArgument);
  EXPECT_EQ(fault("ALL('x', 600000) & ALL('y', 600000)").code, vrt::kBadArgument) << "joining is bounded too";
}

TEST(TextFunctions, LengthAndCase) {
  EXPECT_EQ(evalNumber("LEN('café')"), 4);
  EXPECT_EQ(evalNumber("LEN('ab  ')"), 4) << "trailing blanks are characters";
  EXPECT_EQ(evalNumber("LEN(CLIP('ab  '))"), 2);
  EXPECT_EQ(evalNumber("LEN(1234)"), 4);
  EXPECT_EQ(evalText("UPPER('Straße café')"), vrt::upperCase("Straße café")) << "the system's one case folding";
  EXPECT_EQ(evalText("UPPER('o''neil élan')"), "O'NEIL ÉLAN");
  EXPECT_EQ(evalText("LOWER('ÉLAN Care')"), "élan care");
}

TEST(TextFunctions, CharacterTestsLookAtTheFirstCharacter) {
  EXPECT_EQ(evalNumber("ISALPHA('a1')"), 1);
  EXPECT_EQ(evalNumber("ISALPHA('1a')"), 0);
  EXPECT_EQ(evalNumber("ISALPHA('é')"), 1);
  EXPECT_EQ(evalNumber("ISALPHA('')"), 0);
  EXPECT_EQ(evalNumber("ISUPPER('Ab')"), 1);
  EXPECT_EQ(evalNumber("ISUPPER('aB')"), 0);
  EXPECT_EQ(evalNumber("ISUPPER('É')"), 1);
  EXPECT_EQ(evalNumber("ISLOWER('aB')"), 1);
  EXPECT_EQ(evalNumber("ISLOWER('1')"), 0);
}

TEST(TextFunctions, NumericValAndChr) {
  EXPECT_EQ(evalNumber("NUMERIC('12.5')"), 1);
  EXPECT_EQ(evalNumber("NUMERIC(' -3 ')"), 1);
  EXPECT_EQ(evalNumber("NUMERIC('12 days')"), 0);
  EXPECT_EQ(evalNumber("NUMERIC('')"), 0);
  EXPECT_EQ(evalNumber("NUMERIC(7)"), 1);
  EXPECT_EQ(evalNumber("VAL('A')"), 65);
  EXPECT_EQ(evalNumber("VAL('é')"), 0xE9);
  EXPECT_EQ(evalNumber("VAL('')"), 0);
  EXPECT_EQ(evalText("CHR(65) & CHR(233)"), "Aé");
  EXPECT_EQ(evalNumber("VAL(CHR(8364))"), 8364);
  EXPECT_EQ(evalText("CHR(0)"), "");
  for (const char* bad : {"CHR(-1)", "CHR(1114112)", "CHR(55296)", "CHR(1e300)"}) {
    Value result;
    EXPECT_EQ(fault(bad, &result).code, vrt::kBadArgument) << bad;
    EXPECT_EQ(result.toText(), "") << bad;
  }
}

class Pictures : public ::testing::Test {
 protected:
  void SetUp() override { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }
};

TEST_F(Pictures, FormatShowsAValueThroughAPicture) {
  EXPECT_EQ(evalText("FORMAT(-1234.5, @n-12.2)"), "   -1,234.50");
  EXPECT_EQ(evalText("FORMAT(DATE(3, 18, 2006), @d2-)"), "03-18-2006");
  EXPECT_EQ(evalText("FORMAT(DATE(3, 18, 2006), '@d2')"), "03/18/2006") << "a picture may be a text";
  EXPECT_EQ(evalText("FORMAT(DEFORMAT('5:30PM', @T3), @t3)"), "5:30PM");
  EXPECT_EQ(evalText("FORMAT('abcdef', @s3)"), "abc");
  EXPECT_EQ(evalText("FORMAT(0, @d2b)"), "") << "blank when there is no date";
  EXPECT_EQ(evalText("FORMAT(1e300, @d2)"), "") << "no date lies that far";
  EXPECT_EQ(evalText("FORMAT(1e300, @n5)"), "#####");
}

TEST_F(Pictures, DeformatReadsTextAsAPictureShowsIt) {
  EXPECT_EQ(evalNumber("DEFORMAT('5:30PM', @T3)"), (17 * 3600 + 30 * 60) * 100 + 1);
  EXPECT_EQ(evalNumber("DEFORMAT( '5:30PM', @T3 ) = DEFORMAT('17:30', @t1)"), 1);
  EXPECT_EQ(evalNumber("DEFORMAT('03-18-2006', @d2-) = DATE(3, 18, 2006)"), 1);
  EXPECT_EQ(evalNumber("DEFORMAT('1,234.50', @n-12.2)"), 1234.5);
  EXPECT_EQ(evalText("DEFORMAT('abcdef', @s4)"), "abcd");
  EXPECT_EQ(evalNumber("DEFORMAT('$1,234.50')"), 1234.5) << "without a picture: the number left";
}

TEST_F(Pictures, BadPicturesAndUnreadableTextAreReported) {
  Value result;
  EXPECT_EQ(fault("FORMAT(12, 'no picture')", &result).code, vrt::kBadArgument);
  EXPECT_EQ(result.toText(), "12") << "the value as it is";
  EXPECT_EQ(fault("DEFORMAT('x', '@q')").code, vrt::kBadArgument);
  EXPECT_EQ(fault("DEFORMAT('25:99PM', @t3)", &result).code, vrt::kBadArgument);
  EXPECT_EQ(result.toNumber(), 0);
}
