#include "batch/seed_summary.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "batch/summary_lines.h"

namespace talvik {
namespace {

AnalysisRow rowWith(double seed, float lower, float upper) {
  AnalysisRow row;
  row.file = "a.txt";
  row.seed = seed;
  row.numbers = AnalysisNumbers{12, 0.25f, {{95, lower, upper, 0.5f}}};
  return row;
}

TEST(SeedSummary, MeansSampleSdsAndSharesThatExcludeZero) {
  SeedSummary summary;
  summary.add(rowWith(1, -0.5f, 0.5f));
  summary.add(rowWith(2, 0.25f, 0.75f));
  summary.add(rowWith(3, -0.25f, 1.0f));
  summary.add(rowWith(4, 0.5f, 0.5f));
  const LevelSummary& level = summary.summary().levels[0];
  EXPECT_EQ(level.lower.mean(), 0.0);
  // Deviations -0.5, 0.25, -0.25, 0.5: squares 0.625 over n - 1 = 3.
  EXPECT_DOUBLE_EQ(*level.lower.sd(), std::sqrt(0.625 / 3));
  EXPECT_EQ(level.upper.mean(), 0.6875);
  EXPECT_EQ(level.excludingZero, 2);
  EXPECT_EQ(summaryNote(summary.summary()), "");
}

TEST(SeedSummary, BoundsNotFiniteLeaveNoMeanAndAreNoted) {
  SeedSummary summary;
  summary.add(rowWith(1, 0.1f, 0.2f));
  EXPECT_FALSE(summary.summary().levels[0].lower.sd());
  AnalysisRow row = rowWith(2, -std::numeric_limits<float>::quiet_NaN(), -0.5f);
  row.note = "the bounds at 95 % are not finite";
  summary.add(row);
  const LevelSummary& level = summary.summary().levels[0];
  EXPECT_FALSE(level.lower.mean());
  EXPECT_EQ(level.upper.mean(), (static_cast<double>(0.2f) - 0.5) / 2);
  EXPECT_EQ(level.excludingZero, 2);
  EXPECT_EQ(summaryNote(summary.summary()),
            "1 of 2 seeds have bounds that are not finite; seed 2: the bounds "
            "at 95 % are not finite");
  summary.reset();
  AnalysisRow failed;
  failed.file = "b.txt";
  failed.error = "cannot open the file";
  summary.add(failed);
  summary.add(failed);
  EXPECT_EQ(summary.summary().seeds, 2);
  EXPECT_EQ(summary.summary().error, "cannot open the file");
}

TEST(SeedSummary, SharesAreNeverRoundedToNoneOrAll) {
  EXPECT_EQ(seedShareText(0, 7), "no seed");
  EXPECT_EQ(seedShareText(7, 7), "every seed");
  EXPECT_EQ(seedShareText(1, 8), "13 % of the seeds");
  EXPECT_EQ(seedShareText(1, 1000), "under 1 % of the seeds");
  EXPECT_EQ(seedShareText(999, 1000), "over 99 % of the seeds");
}

}  // namespace
}  // namespace talvik
