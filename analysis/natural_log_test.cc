#include "analysis/natural_log.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>

namespace talvik {
namespace {

constexpr float kInfinity = std::numeric_limits<float>::infinity();

std::uint32_t bitsOf(float value) {
  return std::bit_cast<std::uint32_t>(value);
}

TEST(NaturalLog, ZeroOfEitherSignGivesMinusInfinity) {
  EXPECT_EQ(naturalLog(0.0f), -kInfinity);
  EXPECT_EQ(naturalLog(-0.0f), -kInfinity);
}

TEST(NaturalLog, NegativeOrNotANumberGivesNotANumber) {
  for (const float x :
       {-1.0f, -1e-45f, -kInfinity, std::numeric_limits<float>::quiet_NaN()}) {
    EXPECT_TRUE(std::isnan(naturalLog(x))) << x;
  }
}

TEST(NaturalLog, PlusInfinityGivesPlusInfinity) {
  EXPECT_EQ(naturalLog(kInfinity), kInfinity);
}

TEST(NaturalLog, OneGivesPlusZero) { EXPECT_EQ(bitsOf(naturalLog(1.0f)), 0u); }

TEST(NaturalLog, RoundsToTheNearestFloat) {
  EXPECT_EQ(naturalLog(2.7182817f), 0.99999994f);
  EXPECT_EQ(naturalLog(2.0f), 0.6931472f);
  EXPECT_EQ(naturalLog(10.0f), 2.3025851f);
}

TEST(NaturalLog, DenormalsAndExtremesAreFinite) {
  EXPECT_EQ(naturalLog(std::numeric_limits<float>::denorm_min()), -103.27893f);
  EXPECT_EQ(naturalLog(std::numeric_limits<float>::max()), 88.72284f);
}

// The floats whose logarithm, computed in double, lies so close to a midpoint
// between two floats that rounding the double result gives the wrong float.
TEST(NaturalLog, RoundsCorrectlyWhereTheDoubleLogarithmMisleads) {
  struct HardCase {
    std::uint32_t x;
    std::uint32_t ln;
  };
  const HardCase cases[] = {
      {0x41178feb, 0x400fe5e7},  // 9.472636: 2.2484071
      {0x3c413d3a, 0xc08e158f},  // 0.011794383: -4.4401317
      {0x4c5d65a5, 0x418f034b},  // 58037908: 17.876608
      {0x65d890d3, 0x4254d1f9},  // 1.2783784e23: 53.205051
      {0x6f31a8ec, 0x42845a89},  // 5.498306e28: 66.176826
  };
  for (const HardCase& c : cases) {
    EXPECT_EQ(bitsOf(naturalLog(std::bit_cast<float>(c.x))), c.ln) << c.x;
  }
}

TEST(NaturalLog, AgreesWithTheWiderLogarithmOnASweep) {
  // Steps through every binade with a stride prime to the significand.
  for (std::uint32_t bits = 1; bits < 0x7f800000u; bits += 100003u) {
    const float x = std::bit_cast<float>(bits);
    const float wide =
        static_cast<float>(std::log(static_cast<long double>(x)));
    ASSERT_EQ(bitsOf(naturalLog(x)), bitsOf(wide)) << bits;
  }
}

}  // namespace
}  // namespace talvik
