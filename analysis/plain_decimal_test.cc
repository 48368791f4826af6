#include "analysis/plain_decimal.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace talvik {
namespace {

constexpr DecimalNotation kGroups{'.', true};
constexpr DecimalNotation kDecimalComma{',', false};

TEST(PlainDecimal, WrittenBackWithAPointAndAnEExponent) {
  EXPECT_EQ(plainDecimal("1234567"), "1234567");
  EXPECT_EQ(plainDecimal("-0.5"), "-0.5");
  EXPECT_EQ(plainDecimal("+.5"), "+.5");
  EXPECT_EQ(plainDecimal("5."), "5.");
  EXPECT_EQ(plainDecimal("2E+6"), "2e+6");
  EXPECT_EQ(plainDecimal("1.5e-3"), "1.5e-3");
}

TEST(PlainDecimal, OtherFormsAreRefused) {
  for (const char* text :
       {"", "+", ".", "-.", "e5", ".e5", "5e", "5e+", "1.2.3", " 5", "5 ",
        "inf", "nan", "0x10", "1d5", "5,0", "1,234", "++5", "5e1.5"}) {
    EXPECT_EQ(plainDecimal(text), std::nullopt) << text;
  }
}

TEST(PlainDecimal, ThousandsGroupsOnlyInThreesAfterOneToThreeDigits) {
  EXPECT_EQ(plainDecimal("1,234,567.5", kGroups), "1234567.5");
  EXPECT_EQ(plainDecimal("-412,800", kGroups), "-412800");
  EXPECT_EQ(plainDecimal("1234", kGroups), "1234");
  for (const char* text :
       {"1,23", "1234,567", ",123", "1,2345", "1,234,", "1,,234", ".5,000"}) {
    EXPECT_EQ(plainDecimal(text, kGroups), std::nullopt) << text;
  }
}

TEST(PlainDecimal, ADecimalCommaTakesThePointsPlace) {
  EXPECT_EQ(plainDecimal("12,5", kDecimalComma), "12.5");
  EXPECT_EQ(plainDecimal(",25e2", kDecimalComma), ".25e2");
  EXPECT_EQ(plainDecimal("1.5", kDecimalComma), std::nullopt);
  EXPECT_EQ(plainDecimal("1,5e", kDecimalComma), std::nullopt);
}

}  // namespace
}  // namespace talvik
