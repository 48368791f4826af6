#include "session/console/real_field.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <string>
#include <string_view>
#include <vector>

#include "session/console/real_field_testutil.h"

namespace talvik {
namespace {

struct RealCase {
  float value;
  int width;
  int decimals;
  std::string_view expected;
};

float negativeNaN() {
  return std::copysign(std::numeric_limits<float>::quiet_NaN(), -1.0f);
}

constexpr float kInfinity = std::numeric_limits<float>::infinity();

TEST(RealField, EditsRealsAsTheExamplesShow) {
  const RealCase cases[] = {
      {0.1234f, 7, 3, "  0.123"},
      {0.0005f, 7, 3, "  0.001"},
      {0.00049f, 7, 3, "  0.000"},
      {-0.0004f, 7, 3, "  0.000"},
      {-0.25f, 7, 3, " -0.250"},
      {1.5f, 7, 3, "  1.500"},
      {-12.345f, 7, 3, "-12.345"},
      {999.9996f, 7, 3, "*******"},
      {-123.5f, 7, 3, "*******"},
      {negativeNaN(), 7, 3, "   -NaN"},
      {-kInfinity, 7, 3, "   -INF"},
      {12500.0f, 15, 4, "     12500.0000"},
      {4166.6665f, 15, 4, "      4166.6670"},
      {123456.75f, 15, 4, "    123456.8000"},
      {123456.125f, 15, 4, "    123456.1200"},
      {9.9996f, 7, 3, " 10.000"},
  };
  for (const RealCase& c : cases) {
    EXPECT_EQ(editReal(c.value, c.width, c.decimals), c.expected)
        << "F" << c.width << "." << c.decimals << " of " << c.value;
  }
}

TEST(RealField, EditsSpecialRealsRightAlignedOrAsAsterisks) {
  const RealCase cases[] = {
      {std::numeric_limits<float>::quiet_NaN(), 7, 3, "    NaN"},
      {kInfinity, 7, 3, "    INF"},
      {kInfinity, 3, 1, "INF"},
      {-kInfinity, 4, 1, "-INF"},
      {-kInfinity, 3, 1, "***"},
      {negativeNaN(), 3, 0, "***"},
      {std::numeric_limits<float>::quiet_NaN(), 15, 4, "            NaN"},
  };
  for (const RealCase& c : cases) {
    EXPECT_EQ(editReal(c.value, c.width, c.decimals), c.expected)
        << "F" << c.width << "." << c.decimals << " of " << c.value;
  }
}

TEST(RealField, NegativeValueShownAsZeroHasNoSign) {
  EXPECT_EQ(editReal(-0.0f, 7, 3), "  0.000");
  EXPECT_EQ(editReal(-0.00049f, 7, 3), "  0.000");
  EXPECT_EQ(editReal(-1e-30f, 15, 4), "         0.0000");
  EXPECT_EQ(editReal(-std::numeric_limits<float>::denorm_min(), 7, 3),
            "  0.000");
  EXPECT_EQ(editReal(-0.4f, 3, 0), " 0.");
}

TEST(RealField, RoundsHalfUpOnTheCutExpansionNearEveryBoundary) {
  const RealCase cases[] = {
      // 0.9995f is 0.99949997...: its expansion 99949997 rounds down.
      {0.9995f, 7, 3, "  0.999"},
      {0.99951f, 7, 3, "  1.000"},
      // 1.0005f is 1.00049996...
      {1.0005f, 7, 3, "  1.000"},
      {1.00051f, 7, 3, "  1.001"},
      {-0.0005f, 7, 3, " -0.001"},
      {0.00050001f, 7, 3, "  0.001"},
      {0.0004999f, 7, 3, "  0.000"},
      // One shown digit with a carry out of it.
      {9.5f, 3, 0, "10."},
      {9.4999f, 3, 0, " 9."},
      {0.5f, 2, 0, "1."},
      {0.49999997f, 2, 0, "0."},
      {99.9995f, 7, 3, " 99.999"},
      {-99.9995f, 7, 3, "-99.999"},
      {-9.9995f, 7, 3, "-10.000"},
      {0.0995f, 7, 2, "   0.10"},
      // 0.05f is 0.0500000007...: no digit shown, the first one rounds up.
      {0.05f, 4, 1, " 0.1"},
      {0.04999f, 4, 1, " 0.0"},
      {0.004f, 4, 1, " 0.0"},
  };
  for (const RealCase& c : cases) {
    EXPECT_EQ(editReal(c.value, c.width, c.decimals), c.expected)
        << "F" << c.width << "." << c.decimals << " of " << c.value;
  }
}

TEST(RealField, EighthDigitDecidesRoundingBeyondEightShownDigits) {
  const RealCase cases[] = {
      // 16777215 has the expansion 16777215: the 8th digit rounds into the
      // 7th and every further position is 0.
      {16777215.0f, 15, 4, "  16777220.0000"},
      {16777214.0f, 15, 4, "  16777214.0000"},
      // 9999.99951171875 (expansion 99999995) carries out of the first digit.
      {9999.99951171875f, 15, 4, "     10000.0000"},
      {9999.9990234375f, 15, 4, "      9999.9990"},
      // Eight shown digits exactly: the 8th is shown and rounds itself.
      {1234.5677490234375f, 15, 4, "      1234.5680"},
      {1234.5673828125f, 15, 4, "      1234.5673"},
      // 0.12345674f is 0.123456738...: ten shown digits, the last two 0.
      {0.12345674f, 12, 10, "0.1234567300"},
      {3.0e38f, 45, 4, " 300000000000000000000000000000000000000.0000"},
      {std::numeric_limits<float>::max(), 45, 2,
       "   340282340000000000000000000000000000000.00"},
  };
  for (const RealCase& c : cases) {
    EXPECT_EQ(editReal(c.value, c.width, c.decimals), c.expected)
        << "F" << c.width << "." << c.decimals << " of " << c.value;
  }
}

TEST(RealField, TinyAndHugeRealsFitOrFill) {
  const RealCase cases[] = {
      {std::numeric_limits<float>::denorm_min(), 7, 3, "  0.000"},
      {std::numeric_limits<float>::min(), 15, 4, "         0.0000"},
      {1e-30f, 15, 4, "         0.0000"},
      // 1.4e-45 shown with 46 decimals: the first digit rounds up.
      {std::numeric_limits<float>::denorm_min(), 48, 45,
       " 0.000000000000000000000000000000000000000000001"},
      {3.0e38f, 15, 4, "***************"},
      {-3.0e38f, 15, 4, "***************"},
      {std::numeric_limits<float>::max(), 7, 3, "*******"},
  };
  for (const RealCase& c : cases) {
    EXPECT_EQ(editReal(c.value, c.width, c.decimals), c.expected)
        << "F" << c.width << "." << c.decimals << " of " << c.value;
  }
}

TEST(RealField, LeadingZeroOnlyWhenTheFieldHasRoomForIt) {
  const RealCase cases[] = {
      {0.5f, 5, 3, "0.500"},   {0.5f, 4, 3, ".500"},  {-0.5f, 6, 3, "-0.500"},
      {-0.5f, 5, 3, "-.500"},  {-0.5f, 4, 3, "****"}, {0.0f, 4, 3, ".000"},
      {0.0f, 7, 3, "  0.000"}, {1.0f, 4, 3, "****"},  {1.0f, 1, 0, "*"},
  };
  for (const RealCase& c : cases) {
    EXPECT_EQ(editReal(c.value, c.width, c.decimals), c.expected)
        << "F" << c.width << "." << c.decimals << " of " << c.value;
  }
}

// Every float in a wide sweep of magnitudes shows no non-zero digit after its
// 8th significant digit in F15.4.
TEST(RealField, NoNonZeroDigitBeyondTheEighthSignificantInF154) {
  std::uint32_t bits = 0x3c000000;  // about 0.0078
  while (bits < 0x4f000000) {       // about 2.1e9
    const float value = std::bit_cast<float>(bits);
    const std::string field = editReal(value, 15, 4);
    ASSERT_EQ(field.size(), 15u);
    int significant = 0;
    for (char c : field) {
      if (c < '0' || c > '9') continue;
      if (significant > 0 || c != '0') ++significant;
      if (significant > 8) {
        ASSERT_EQ(c, '0') << field << " from " << value;
      }
    }
    bits += 1999;
  }
}

// Every float in runs around rounding and carry boundaries, powers of ten,
// 2^23, 2^63 and the smallest normal float, in both signs and several
// formats; then pseudo-random bit patterns, each in one of the formats.
// Debug builds try fewer.
TEST(RealField, EditsRealsAsTheExactExpansionDerives) {
#ifdef NDEBUG
  constexpr std::uint32_t kRunLength = 2048;
  constexpr int kRandomCount = 2'000'000;
#else
  constexpr std::uint32_t kRunLength = 256;
  constexpr int kRandomCount = 200'000;
#endif
  struct Format {
    int width;
    int decimals;
  };
  constexpr Format kFormats[] = {{15, 4}, {7, 3},  {3, 1},
                                 {12, 0}, {45, 2}, {48, 45}};
  const auto difference = [](float value, Format format) -> std::string {
    const std::string field = editReal(value, format.width, format.decimals);
    const std::string expected =
        expectedReal(value, format.width, format.decimals);
    if (field == expected) return {};
    return std::string("F") + std::to_string(format.width) + "." +
           std::to_string(format.decimals) + " of bits " +
           std::to_string(std::bit_cast<std::uint32_t>(value)) + ": " + field +
           " instead of " + expected;
  };

  const float smallestNormal = std::numeric_limits<float>::min();
  std::vector<float> centres = {0.0005f, 0.05f,   0.5f,          0.9995f,
                                9.9995f, 9.9996f, 99.9995f,      999.9995f,
                                0x1p23f, 0x1p63f, smallestNormal};
  for (float power = 1e-6f; power < 1e21f; power *= 10.0f) {
    centres.push_back(power);
  }
  for (const float centre : centres) {
    const std::uint32_t first =
        std::bit_cast<std::uint32_t>(centre) - kRunLength / 2;
    for (std::uint32_t bits = first; bits < first + kRunLength; ++bits) {
      const float value = std::bit_cast<float>(bits);
      for (const Format format : kFormats) {
        ASSERT_EQ(difference(value, format), "");
        ASSERT_EQ(difference(-value, format), "");
      }
    }
  }
  std::uint32_t state = 12345;
  for (int k = 0; k < kRandomCount; ++k) {
    state ^= state << 13;
    state ^= state >> 17;
    state ^= state << 5;
    ASSERT_EQ(difference(std::bit_cast<float>(state),
                         kFormats[k % std::size(kFormats)]),
              "");
  }
}

}  // namespace
}  // namespace talvik
