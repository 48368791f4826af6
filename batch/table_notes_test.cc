#include "batch/table_notes.h"

#include <gtest/gtest.h>

#include <limits>

namespace talvik {
namespace {

constexpr float kInf = std::numeric_limits<float>::infinity();

TEST(TableNotes, NotesNameTheSizesWithoutALogarithmWhenAnalysed) {
  AnalysisNumbers numbers{3, -kInf, {{99, 0.5f, 1.0f, 0.5f}}};
  EXPECT_EQ(analysisNote(numbers, {.zero = 3}, false),
            "A is -inf: 3 sizes of 0; see --positive-only");
  EXPECT_EQ(analysisNote(numbers, {.zero = 3}, true), "A is -inf");
  numbers.a = 0.1f;
  EXPECT_EQ(analysisNote(numbers, {.zero = 3}, false), "");
  numbers.ranges.push_back({95, 0.5f, kInf, 0.5f});
  numbers.ranges.push_back({90, -kInf, 0.5f, 0.5f});
  EXPECT_EQ(analysisNote(numbers, {1, 2, 1, 4}, false),
            "the bounds at 95 and 90 % are not finite: 1 size of 0, 2 sizes "
            "below 0 (analysed as 0), 1 not-a-number size and 4 infinite "
            "sizes; see --positive-only");
}

TEST(TableNotes, TheWarningNamesTheOptionWhenANeedsIt) {
  EXPECT_EQ(unusableSizesWarning(-kInf, {.zero = 3}, false),
            "A is -inf: 3 sizes of 0 have no logarithm (--positive-only "
            "leaves them out)");
  EXPECT_EQ(unusableSizesWarning(-kInf, {.negative = 1}, false),
            "A is -inf: 1 size below 0 (analysed as 0) has no logarithm "
            "(--positive-only leaves it out)");
  EXPECT_EQ(unusableSizesWarning(-kInf, {.zero = 3}, true), "");
  EXPECT_EQ(unusableSizesWarning(0.1f, {.zero = 3}, false), "");
}

}  // namespace
}  // namespace talvik
