#include <gtest/gtest.h>

#include "runtime/text/decimal.h"

using namespace vrt;

TEST(Decimal, ParsesAndPrintsExactly) {
  EXPECT_EQ(Decimal::parse("1234.5")->cents(), 123450);
  EXPECT_EQ(Decimal::parse(" -0.07 ")->cents(), -7);
  EXPECT_EQ(Decimal::parse("2.675")->cents(), 268);  // rounded half up in decimal, not in binary
  EXPECT_EQ(Decimal::parse("+3")->cents(), 300);
  EXPECT_EQ(Decimal::parse(".5")->cents(), 50);
  EXPECT_FALSE(Decimal::parse("1.2.3"));
  EXPECT_FALSE(Decimal::parse("12a"));
  EXPECT_FALSE(Decimal::parse(""));
  EXPECT_FALSE(Decimal::parse("-"));
  EXPECT_FALSE(Decimal::parse("99999999999999999999999"));
  EXPECT_EQ(Decimal::fromCents(-123450).toString(), "-1234.50");
  EXPECT_EQ(Decimal::fromCents(5).toString(), "0.05");
  EXPECT_EQ(Decimal::fromDouble(0.1 + 0.2).cents(), 30);
}

TEST(Decimal, PacksIntoTenBytesAndBack) {
  for (std::int64_t cents : {0LL, 1LL, -1LL, 123450LL, -99999999999LL, 922337203685477580LL}) {
    unsigned char packed[Decimal::kPackedBytes];
    Decimal::fromCents(cents).pack(packed);
    EXPECT_EQ(Decimal::unpack(packed).cents(), cents);
  }
  unsigned char packed[Decimal::kPackedBytes];
  Decimal::fromCents(-12345).pack(packed);
  EXPECT_EQ(packed[9], 0x5D);  // last digit 5, sign D
  EXPECT_EQ(packed[8], 0x34);
  unsigned char garbage[Decimal::kPackedBytes] = {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};
  EXPECT_EQ(Decimal::unpack(garbage).cents(), 0);
}
