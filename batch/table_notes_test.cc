#include "batch/table_notes.h"

#include <gtest/gtest.h>

#include <limits>

namespace talvik {
namespace {

constexpr float kInf = std::numeric_limits<float>::infinity();

AnalysisNumbers numbersWith(float a, float lower95) {
  AnalysisNumbers numbers{3, a, {}};
  for (const int level : {99, 95, 90}) {
    numbers.ranges.push_back({level, -0.5f, 0.5f, 1.0f});
  }
  numbers.ranges[1].lower = lower95;
  return numbers;
}

TEST(TableNotes, FiniteNumbersNeedNoNote) {
  const UnusableSizes zeros{.zero = 3};
  EXPECT_EQ(analysisNote(numbersWith(0.1f, -0.5f), zeros, false), "");
  EXPECT_EQ(unusableSizesWarning(0.1f, zeros, false), "");
}

TEST(TableNotes, NotesNameTheSizesWithoutALogarithm) {
  EXPECT_EQ(analysisNote(numbersWith(-kInf, -kInf), {.zero = 3}, false),
            "A is -inf: 3 sizes of 0; see --positive-only");
  const UnusableSizes mixed{
      .zero = 1, .negative = 2, .notANumber = 1, .infinite = 4};
  EXPECT_EQ(analysisNote(numbersWith(0.1f, kInf), mixed, false),
            "the bounds at 95 % are not finite: 1 size of 0, 2 sizes below 0 "
            "(analysed as 0), 1 not-a-number size and 4 infinite sizes; see "
            "--positive-only");
}

TEST(TableNotes, SizesLeftOutOrUncountedExplainNothing) {
  AnalysisNumbers numbers =
      numbersWith(-std::numeric_limits<float>::quiet_NaN(), 0.0f);
  numbers.ranges[0].upper = kInf;
  EXPECT_EQ(analysisNote(numbers, {.zero = 3}, true), "A is -nan");
  EXPECT_EQ(analysisNote(numbersWith(0.0f, kInf), {}, false),
            "the bounds at 95 % are not finite");
  numbers.a = 0.0f;
  numbers.ranges[2].lower = kInf;
  EXPECT_EQ(analysisNote(numbers, {}, false),
            "the bounds at 99 and 90 % are not finite");
  EXPECT_EQ(unusableSizesWarning(-kInf, {.zero = 3}, true), "");
  EXPECT_EQ(unusableSizesWarning(-kInf, {}, false), "");
}

TEST(TableNotes, TheWarningNamesTheOption) {
  EXPECT_EQ(unusableSizesWarning(-kInf, {.zero = 3}, false),
            "A is -inf: 3 sizes of 0 have no logarithm (--positive-only "
            "leaves them out)");
  EXPECT_EQ(unusableSizesWarning(-kInf, {.negative = 1}, false),
            "A is -inf: 1 size below 0 (analysed as 0) has no logarithm "
            "(--positive-only leaves it out)");
}

}  // namespace
}  // namespace talvik
