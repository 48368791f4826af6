#include "analysis/size_value.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace talvik {
namespace {

constexpr float kInfinity = std::numeric_limits<float>::infinity();
constexpr float kLargest = std::numeric_limits<float>::max();
constexpr float kSmallest = std::numeric_limits<float>::denorm_min();

std::optional<float> scan(std::string_view text) {
  SizeValueScanner scanner;
  for (const char c : text) scanner.add(c);
  return scanner.value();
}

std::uint32_t bitsOf(float value) {
  return std::bit_cast<std::uint32_t>(value);
}

struct ValueCase {
  std::string text;
  float expected;
};

void expectValues(std::span<const ValueCase> cases) {
  for (const ValueCase& c : cases) {
    const std::optional<float> value = scan(c.text);
    ASSERT_TRUE(value.has_value()) << c.text;
    EXPECT_EQ(bitsOf(*value), bitsOf(c.expected)) << c.text;
  }
}

TEST(SizeValueScanner, DecimalFormsGiveTheirValues) {
  const ValueCase cases[] = {
      {"750", 750.0f},    {"7.5E2", 750.0f},     {"7.5e+2", 750.0f},
      {"7.5D2", 750.0f},  {"7.5d+2", 750.0f},    {"7.5Q2", 750.0f},
      {"7.5q-2", 0.075f}, {"1.5-3", 0.0015f},    {"1.5+3", 1500.0f},
      {"1.-3", 0.001f},   {"+5", 5.0f},          {"-5", -5.0f},
      {".5", 0.5f},       {"5.", 5.0f},          {"-.5e1", -5.0f},
      {"0012", 12.0f},    {"1e0005", 1e5f},      {"1E-0", 1.0f},
      {"0.1", 0.1f},      {"123.456", 123.456f},
  };
  expectValues(cases);
}

TEST(SizeValueScanner, ZerosKeepTheirSign) {
  const ValueCase cases[] = {
      {"0", 0.0f},     {"-0", -0.0f},    {"0.000", 0.0f},
      {"-0e5", -0.0f}, {"+0.0-7", 0.0f}, {"0e999999999999999999999", 0.0f},
  };
  expectValues(cases);
}

TEST(SizeValueScanner, MagnitudesBeyondTheRangeOverflowToInfinity) {
  const ValueCase cases[] = {
      {"3.4028235e38", kLargest},
      {"3.40282356779733661637539395458142568447e38", kLargest},
      {"3.40282356779733661637539395458142568448e38", kInfinity},
      {"3.5e38", kInfinity},
      {"-1e39", -kInfinity},
      {"1e99999999999999999999999999", kInfinity},
      {"-0.0001e99999999999999999999999999", -kInfinity},
  };
  expectValues(cases);
}

TEST(SizeValueScanner, TinyMagnitudesRoundToTheNearestFloatOrSignedZero) {
  // 2^-150, halfway between zero and the smallest float.
  const std::string half =
      "7.00649232162408535461864791644958065640130970938257885878534141944895"
      "541342930300743319094181060791015625e-46";
  const ValueCase cases[] = {
      {"1e-40", 1e-40f},
      {"1e-45", kSmallest},
      {"7.1e-46", kSmallest},
      {"7e-46", 0.0f},
      {half, 0.0f},
      {half.substr(0, half.size() - 4) + "1e-46", kSmallest},
      {"1e-50", 0.0f},
      {"-1e-50", -0.0f},
      {"-1e-99999999999999999999999", -0.0f},
  };
  expectValues(cases);
}

TEST(SizeValueScanner, DigitsBeyondThoseKeptStillDecideTheRounding) {
  // 1 + 2^-24 lies halfway between 1 and the next float up.
  const std::string half = "1.000000059604644775390625";
  const std::string zeros(300, '0');
  const ValueCase cases[] = {
      {half, 1.0f},
      {half + zeros, 1.0f},
      {half + zeros + "1", std::nextafter(1.0f, 2.0f)},
      {half + zeros + "1e0", std::nextafter(1.0f, 2.0f)},
      {"1" + zeros + "e-300", 1.0f},
      {"0." + zeros + "1e301", 1.0f},
      {"-0." + zeros + "25+300", -0.25f},
  };
  expectValues(cases);
}

TEST(SizeValueScanner, FirstLetterIGivesInfinityAndNGivesNaNRestUnexamined) {
  const ValueCase infinities[] = {
      {"I", kInfinity},      {"Inf", kInfinity},   {"infinity", kInfinity},
      {"+i", kInfinity},     {"-I", -kInfinity},   {"-Infinity", -kInfinity},
      {"Ix.y+z", kInfinity}, {"I.5e3", kInfinity},
  };
  expectValues(infinities);
  for (const char* text :
       {"N", "NaN", "nan", "Number", "-NaN", "+n", "N1.2.3"}) {
    const std::optional<float> value = scan(text);
    ASSERT_TRUE(value.has_value()) << text;
    EXPECT_TRUE(std::isnan(*value)) << text;
  }
}

TEST(SizeValueScanner, CharactersOutsideTheNumberFormAreRejected) {
  const char* const texts[] = {
      // No digits at all, or an exponent without digits.
      "", ".", "+", "-", "+.", "-.", "5E", "5e+", "5D-", "5-", "5+", ".E5",
      "E5", "e", "D1", "Q1",
      // Letters and symbols.
      "12a", "Size", "5x", "0x10", "1_000", "$5", "5%", "1*", "#",
      ("\xEF\xBB\xBF"
       "5"),
      "\x1A", "5\x1A", "\f5", "5\v",
      // A second point, sign or exponent letter, or a point in the exponent.
      "1.2.3", "..5", "1e5e3", "1e5.2", "1e.5", "1.5-3.0", "1-e5", "1e+-5",
      "+-5", "--5", "1-2-3", "1e2-3", "1-2e3"};
  for (const char* text : texts) {
    EXPECT_FALSE(scan(text).has_value()) << text;
  }
  EXPECT_FALSE(scan(std::string("5\0", 2)).has_value());
}

}  // namespace
}  // namespace talvik
