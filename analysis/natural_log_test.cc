#include "analysis/natural_log.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <vector>

namespace talvik {
namespace {

constexpr float kInfinity = std::numeric_limits<float>::infinity();

std::uint32_t bitsOf(float value) {
  return std::bit_cast<std::uint32_t>(value);
}

// Whether the C library's long double logarithm is wider than double's. A
// long double of 113 bits need not be: WebAssembly's C library takes it
// from the double logarithm.
bool wideLogarithm() {
  const long double ln10 = 2.30258509299404568401799145468436421L;
  return std::numeric_limits<long double>::digits >= 64 &&
         std::abs(std::log(10.0L) - ln10) < 0x1p-60L;
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

// One value at a time and all at once (the estimates side by side, in
// chunks), with the special values and the close calls among them; held to
// the wider logarithm where the C library has one.
TEST(NaturalLog, AgreesWithTheWiderLogarithmOnASweep) {
  const bool againstWide = wideLogarithm();
  // Steps through every binade with a stride prime to the significand.
  std::vector<float> values;
  for (std::uint32_t bits = 1; bits < 0x7f800000u; bits += 100003u) {
    values.push_back(std::bit_cast<float>(bits));
    if (values.size() % 1000 == 0) {
      values.insert(values.end(),
                    {0.0f, -0.0f, -2.0f, 1.0f, kInfinity, -kInfinity,
                     std::numeric_limits<float>::quiet_NaN(),
                     std::bit_cast<float>(0x41178febu)});
    }
  }
  std::vector<float> logs = values;
  naturalLogs(logs);
  for (std::size_t i = 0; i < values.size(); ++i) {
    const float x = values[i];
    const float wide =
        static_cast<float>(std::log(static_cast<long double>(x)));
    ASSERT_EQ(bitsOf(naturalLog(x)), bitsOf(logs[i])) << x;
    if (!againstWide) continue;
    if (std::isnan(wide)) {
      // The wider logarithm's NaN is the processor's; this one's is pinned.
      ASSERT_EQ(bitsOf(naturalLog(x)), 0x7fc00000u) << x;
    } else {
      ASSERT_EQ(bitsOf(naturalLog(x)), bitsOf(wide)) << x;
    }
  }
}

// The close-call path on its own, held to the long double logarithm, which is
// within a unit or two of its 64-bit significand: across the range, at powers
// of two, beside the cut at sqrt(1/2) where |t| is largest, and near 1 where
// t is tiny. Rounding needs it only well inside the close-call window; the
// float logarithms nearest a midpoint come within 2^-57.8 of it.
TEST(NaturalLog, PreciseLogAgreesWithTheWiderLogarithm) {
  if (!wideLogarithm()) {
    GTEST_SKIP() << "the long double logarithm is no wider than double's here";
  }
  const auto check = [](std::uint32_t bits) {
    const float x = std::bit_cast<float>(bits);
    const DoubleDouble precise = preciseNaturalLog(x);
    const long double wide = std::log(static_cast<long double>(x));
    const long double sum = static_cast<long double>(precise.hi) +
                            static_cast<long double>(precise.lo);
    EXPECT_EQ(precise.hi + precise.lo, precise.hi) << bits;
    EXPECT_LE(std::abs(sum - wide), std::abs(wide) * 0x1p-60L) << bits;
  };
  for (std::uint32_t bits = 1; bits < 0x7f800000u; bits += 100003u) {
    check(bits);
  }
  for (std::uint32_t exponent = 0; exponent < 255; ++exponent) {
    const std::uint32_t binade = exponent << 23;
    for (const std::uint32_t significand :
         {0x000001u, 0x3504f3u, 0x3504f4u, 0x7fffffu}) {
      check(binade | significand);
    }
  }
  for (std::uint32_t bits = 0x3f7fff00u; bits <= 0x3f800100u; ++bits) {
    check(bits);
  }
}

// The double-double path depends on every double + and * being rounded on
// its own, with no fused multiply-add and no wider intermediate: a compiler
// that did otherwise would change these bits, computed under that rule (the
// last one changes when GCC or clang fuse on x86-64).
TEST(NaturalLog, PreciseLogGivesTheSameBitsOnEveryMachine) {
  struct Expected {
    std::uint32_t x;
    std::uint64_t hi;
    std::uint64_t lo;
  };
  const Expected cases[] = {
      {0x00000001u, 0xc059d1d9fccf4770u, 0xbcfd0fc8187877a4u},  // denormal
      {0x3f7fffffu, 0xbe70000008000005u, 0xbb15555655555622u},  // below 1
      {0x3f800001u, 0x3e7fffffe000002bu, 0xbb15556555553bbbu},  // above 1
      {0x3f3504f3u, 0xbfd62e43115a8fb4u, 0xbc7f0e9f0b9daa05u},  // sqrt(1/2)
      {0x40000000u, 0x3fe62e42fefa39efu, 0x3c7abc9e3b39803fu},  // 2: ln 2
      {0x41178febu, 0x4001fcbcf0000000u, 0xbc97b9bf161187f8u},  // close call
      {0x65d890d3u, 0x404a9a3f10000000u, 0x3caf0c62e91abe74u},  // closest
      {0x41aa436bu, 0x40087696cdc2c509u, 0x3c9afc37e0b2d84cu},  // fused differs
      {0x7f7fffffu, 0x40562e42feba39efu, 0x3cd5793c611dab19u},  // largest
  };
  for (const Expected& c : cases) {
    const DoubleDouble precise = preciseNaturalLog(std::bit_cast<float>(c.x));
    EXPECT_EQ(std::bit_cast<std::uint64_t>(precise.hi), c.hi) << c.x;
    EXPECT_EQ(std::bit_cast<std::uint64_t>(precise.lo), c.lo) << c.x;
  }
}

}  // namespace
}  // namespace talvik
