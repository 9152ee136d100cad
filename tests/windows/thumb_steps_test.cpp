#include "windows/thumb_steps.h"

#include <gtest/gtest.h>

using vesp::NumberStep;
using vesp::TextStep;
using vesp::ThumbStep;
using vrt::expr::Value;

namespace {

Value text(const char* t) { return Value::text(t); }
Value number(double n) { return Value::number(n); }

}  // namespace

TEST(TextStepTest, SpreadsTheThumbOverTheLettersAfterTheSharedPrefix) {
  TextStep step(ThumbStep::kLetters);
  step.SetLimits(text("The Ark of God"), text("The Zoo Song"));
  EXPECT_EQ(step.prefix(), "THE ");
  EXPECT_EQ(step.Percentile(text("The Ark of God")), 1);
  EXPECT_EQ(step.Percentile(text("the zoo song")), 100);  // case-blind without the case flag
  const int middle = step.Percentile(text("The Mountain"));
  EXPECT_GT(middle, 40);
  EXPECT_LT(middle, 55);
  // Positions give values with the prefix, rising with the thumb.
  EXPECT_EQ(step.ValueAt(0).toText(), "THE ARKA");  // the low value padded with the set's first letter
  EXPECT_LT(step.ValueAt(25).toText(), step.ValueAt(75).toText());
  EXPECT_EQ(step.ValueAt(50).toText().substr(0, 5), "THE M");
}

TEST(TextStepTest, PositionsAndValuesAgreeAcrossTheWholeRange) {
  TextStep step(ThumbStep::kLetters);
  step.SetLimits(text("Abbey"), text("Zion"));
  for (int p = 1; p <= 100; ++p) EXPECT_EQ(step.Percentile(step.ValueAt(p)), p) << p;
}

TEST(TextStepTest, EqualLimitsKeepTheThumbInTheMiddle) {
  TextStep step(ThumbStep::kLetters);
  step.SetLimits(text("Grace"), text("Grace  "));
  EXPECT_EQ(step.Percentile(text("Grace")), 50);
  EXPECT_EQ(step.Percentile(text("Anything")), 50);
}

TEST(TextStepTest, DescendingListsStartAtTheGreatestValue) {
  TextStep step(ThumbStep::kLetters | ThumbStep::kDescending);
  step.SetLimits(text("Zion"), text("Abbey"));  // first record first
  EXPECT_EQ(step.ValueAt(0).toText(), "ZION");
  EXPECT_EQ(step.Percentile(text("Zion")), 1);
  EXPECT_EQ(step.Percentile(text("Abbey")), 100);
  EXPECT_GT(step.Percentile(text("Bethel")), step.Percentile(text("Shiloh")));
  // Stored breakpoints rise, so that the comparison walks them in order.
  EXPECT_LT(step.breakpoint(0), step.breakpoint(99));
}

TEST(TextStepTest, ValuesOutsideThePrefixLieAtTheEnds) {
  TextStep step(ThumbStep::kLetters);
  step.SetLimits(text("The Ark"), text("The Zoo"));
  EXPECT_EQ(step.Percentile(text("Abide with me")), 1);
  EXPECT_EQ(step.Percentile(text("Zacchaeus")), 100);
}

TEST(TextStepTest, CharacterSetsFollowTheFlags) {
  EXPECT_EQ(TextStep(ThumbStep::kLetters).characterSet().size(), 26u);
  EXPECT_EQ(TextStep(ThumbStep::kLetters | ThumbStep::kCaseSensitive).characterSet().size(), 52u);
  EXPECT_EQ(TextStep(ThumbStep::kDigits).characterSet().size(), 10u);
  const TextStep punctuationStep(ThumbStep::kPunctuation);
  const auto& punctuation = punctuationStep.characterSet();
  EXPECT_EQ(punctuation.size(), 30u);  // the per-cent sign counts once
  EXPECT_EQ(punctuation.front(), U' ');
  EXPECT_NE(std::find(punctuation.begin(), punctuation.end(), U'\u00A3'), punctuation.end());
  // Characters outside the set count as its first one: digits mean nothing to a letter step.
  TextStep letters(ThumbStep::kLetters);
  letters.SetLimits(text("A"), text("Z"));
  EXPECT_EQ(letters.Percentile(text("1999")), letters.Percentile(text("A")));
}

TEST(NumberStepTest, MapsPositionsLinearly) {
  NumberStep step(0);
  step.SetLimits(number(10), number(110));
  EXPECT_EQ(step.ValueAt(50).toNumber(), 60);
  EXPECT_EQ(step.Percentile(number(60)), 50);
  EXPECT_EQ(step.Percentile(number(10)), 1);  // 0 counts as 1
  EXPECT_EQ(step.Percentile(number(110)), 100);
  EXPECT_EQ(step.Percentile(number(500)), 100);
}

TEST(NumberStepTest, DescendingAndEqualLimits) {
  NumberStep step(ThumbStep::kDescending);
  step.SetLimits(number(110), number(10));
  EXPECT_EQ(step.ValueAt(0).toNumber(), 110);
  EXPECT_EQ(step.ValueAt(100).toNumber(), 10);
  EXPECT_EQ(step.Percentile(number(110)), 1);
  EXPECT_EQ(step.Percentile(number(35)), 75);
  NumberStep flat(0);
  flat.SetLimits(number(7), number(7));
  EXPECT_EQ(flat.Percentile(number(7)), 50);
  NumberStep real(0, false);
  real.SetLimits(number(0), number(1));
  EXPECT_DOUBLE_EQ(real.ValueAt(25).toNumber(), 0.25);
}
