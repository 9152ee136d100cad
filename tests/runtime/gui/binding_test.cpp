#include "runtime/gui/binding.h"

#include <gtest/gtest.h>

#include "runtime/text/dates.h"

namespace vrt {
namespace {

std::optional<Picture> pic(const char* text) { return Picture::parse(text); }

TEST(BindingTest, DatesShowThroughTheirPictureAndReadBack) {
  std::int32_t day = dateFromYmd(2006, 3, 18);
  Binding b = bind(day);
  EXPECT_EQ(b.display(pic("@d2")), "03/18/2006");
  EXPECT_TRUE(b.accept("12/25/2007", pic("@d2")));
  EXPECT_EQ(day, dateFromYmd(2007, 12, 25));
}

TEST(BindingTest, TextThatDoesNotFitThePictureLeavesTheVariableAlone) {
  std::int32_t day = dateFromYmd(2006, 3, 18);
  EXPECT_FALSE(bind(day).accept("13/45/2006", pic("@d2")));
  EXPECT_FALSE(bind(day).accept("next tuesday", pic("@d2")));
  EXPECT_EQ(day, dateFromYmd(2006, 3, 18));

  double amount = 12.5;
  EXPECT_FALSE(bind(amount).accept("12,5x", pic("@n-10.2")));
  EXPECT_EQ(amount, 12.5);

  std::int32_t count = 7;
  EXPECT_FALSE(bind(count).accept("seven", std::nullopt));
  EXPECT_FALSE(bind(count).accept("99999999999", std::nullopt)) << "does not fit a LONG";
  EXPECT_EQ(count, 7);
}

TEST(BindingTest, NumbersWithAndWithoutPictures) {
  std::int32_t count = 1234;
  EXPECT_EQ(bind(count).display(pic("@n-10")), "     1,234");
  EXPECT_EQ(bind(count).display(std::nullopt), "1234");
  EXPECT_TRUE(bind(count).accept(" 42 ", std::nullopt));
  EXPECT_EQ(count, 42);
  EXPECT_TRUE(bind(count).accept("", std::nullopt)) << "an empty entry reads as zero";
  EXPECT_EQ(count, 0);

  Decimal money = Decimal::fromCents(-123450);
  EXPECT_EQ(bind(money).display(pic("@n-12.2")), "   -1,234.50");
  EXPECT_TRUE(bind(money).accept("19.99", std::nullopt));
  EXPECT_EQ(money, Decimal::fromCents(1999));
  EXPECT_FALSE(bind(money).accept("19.9.9", std::nullopt));
  EXPECT_EQ(money, Decimal::fromCents(1999));
}

TEST(BindingTest, TextIsCutToThePicturesWidth) {
  std::string title = "old";
  EXPECT_TRUE(bind(title).accept("Sunday Morning Service", pic("@s6")));
  EXPECT_EQ(title, "Sunday");
  EXPECT_TRUE(bind(title).accept("anything at all", std::nullopt));
  EXPECT_EQ(title, "anything at all");
}

TEST(BindingTest, RecordFieldsFollowTheirType) {
  const FieldDesc titleField{"TST:TITLE", "TITLE", FieldType::String, 0, 8, -1, "", ""};
  const FieldDesc numberField{"TST:NUMBER", "NUMBER", FieldType::Long, 8, 4, -1, "", ""};
  const FieldDesc flagField{"TST:FLAG", "FLAG", FieldType::Byte, 12, 1, -1, "", ""};
  const FieldDesc amountField{"TST:AMOUNT", "AMOUNT", FieldType::Decimal, 13, 10, -1, "", ""};
  RecordBuffer record(23);
  record.clearAll(std::vector<FieldDesc>{titleField, numberField, flagField, amountField});

  EXPECT_TRUE(bind(record, titleField).accept("Café au lait", std::nullopt));
  EXPECT_EQ(record.text(titleField), "Café au") << "cut on a character boundary to the field's size";
  EXPECT_TRUE(bind(record, numberField).accept("12", pic("@n4")));
  EXPECT_EQ(record.get(LongField{8}), 12);
  EXPECT_FALSE(bind(record, flagField).accept("300", std::nullopt)) << "a BYTE holds 0..255";
  EXPECT_EQ(record.get(ByteField{12}), 0);
  EXPECT_TRUE(bind(record, amountField).accept("1,234.56", pic("@n-10.2")));
  EXPECT_EQ(record.get(DecimalField{13}), Decimal::fromCents(123456));
  EXPECT_EQ(bind(record, amountField).display(pic("@n-10.2")), "  1,234.56");
}

TEST(BindingTest, AnUnboundBindingShowsNothingAndAcceptsEverything) {
  Binding none;
  EXPECT_FALSE(none.bound());
  EXPECT_EQ(none.display(pic("@d2")), "");
  EXPECT_TRUE(none.accept("x", pic("@d2")));
}

}  // namespace
}  // namespace vrt
