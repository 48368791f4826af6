#include "batch/option_values.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace talvik {
namespace {

TEST(ParseSeedValue, NumbersAsTheDialogueTakesThem) {
  EXPECT_EQ(parseSeedValue("1234567").seeds, std::vector<double>{1234567.0});
  EXPECT_EQ(parseSeedValue("0").seeds, std::vector<double>{0.0});
  EXPECT_EQ(parseSeedValue("0.5").seeds, std::vector<double>{0.5});
  EXPECT_EQ(parseSeedValue("2e6").seeds, std::vector<double>{2e6});
}

TEST(ParseSeedValue, RangesHoldEveryWholeSeedFromFirstToLast) {
  EXPECT_EQ(parseSeedValue("3..6").seeds,
            (std::vector<double>{3.0, 4.0, 5.0, 6.0}));
  EXPECT_EQ(parseSeedValue("7..7").seeds, std::vector<double>{7.0});
  EXPECT_EQ(parseSeedValue("1..100000").seeds.size(), kMaxSeeds);
}

TEST(ParseSeedValue, RefusalsSayWhy) {
  EXPECT_EQ(parseSeedValue("-5").error,
            "seed \"-5\" is negative; the generator takes seeds from 0 up");
  EXPECT_EQ(parseSeedValue("1e400").error,
            "seed \"1e400\" is too large for the generator (4101 x seed + "
            "853 must stay finite)");
  EXPECT_EQ(parseSeedValue("12a").error,
            "seed \"12a\" is not a number (a seed is a number such as "
            "1234567, or a range such as 1..1000)");
  EXPECT_EQ(parseSeedValue("0..100000").error,
            "seed range \"0..100000\" holds more than 100000 seeds");
  EXPECT_EQ(parseSeedValue("6..3").error,
            "seed range \"6..3\": the first seed is larger than the last");
  for (const char* text : {"1.5..3", "..3", "1..", "1..9007199254740993"}) {
    EXPECT_EQ(parseSeedValue(text).error,
              "seed range \"" + std::string(text) +
                  "\": both ends must be whole numbers from 0 to "
                  "9007199254740992")
        << text;
  }
  for (const char* text : {"", " 5", "inf", "nan", "0x10", "5 "}) {
    EXPECT_FALSE(parseSeedValue(text).error.empty()) << text;
  }
}

TEST(ParseLevelValue, WholeNumbersFromOneTo99) {
  EXPECT_EQ(parseLevelValue("1").level, 1);
  EXPECT_EQ(parseLevelValue("099").level, 99);
  for (const char* text : {"0", "100", "50.0", "-5", "", "9999999999999"}) {
    EXPECT_EQ(parseLevelValue(text).error,
              "level \"" + std::string(text) +
                  "\" is not a whole number from 1 to 99")
        << text;
  }
}

TEST(SeedText, WholeSeedsAsWholeNumbersOthersShortest) {
  EXPECT_EQ(seedText(0.0), "0");
  EXPECT_EQ(seedText(1234567.0), "1234567");
  EXPECT_EQ(seedText(1e7), "10000000");
  EXPECT_EQ(seedText(9007199254740992.0), "9007199254740992");
  EXPECT_EQ(seedText(1e20), "100000000000000000000");
  EXPECT_EQ(seedText(0.5), "0.5");
  EXPECT_EQ(seedText(12345678.5), "12345678.5");
  EXPECT_EQ(seedText(1e21), "1e+21");
  EXPECT_EQ(seedText(4e304), "4e+304");
}

}  // namespace
}  // namespace talvik
