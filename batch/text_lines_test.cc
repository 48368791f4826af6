#include "batch/text_lines.h"

#include <gtest/gtest.h>

#include <limits>
#include <vector>

namespace talvik {
namespace {

TEST(TextLines, NumbersAreTheDialoguesAndCountsSayWhatWasCutOrLeftOut) {
  AnalysisRow row;
  row.file = "sites37.txt";
  row.seed = 1234567.0;
  row.numbers = AnalysisNumbers{1000,
                                0.09632224f,
                                {{95, -0.20416889f, 0.42313367f, 0.6f},
                                 {50, -0.0004f, 1234.5675f, 0.1f}}};
  row.sizesRead = 1000;
  const std::vector<int> levels{95, 50};
  EXPECT_EQ(textLine(row, levels, "1.0.0"),
            "sites37.txt: A = 0.096, 95 % range -0.204 to 0.423, 50 % range "
            "0.000 to 1234.568 (n = 1000, seed 1234567, 1000 resamples, "
            "TALVIK 1.0.0)\n");
  row.numbers->a = -std::numeric_limits<float>::infinity();
  row.sizesRead = 5003;
  row.leftOut = 3;
  row.numbers->resamples = 20000;
  row.note = "A is -inf";
  EXPECT_EQ(textLine(row, {}, "2"),
            "sites37.txt: A = -INF (n = 1000 of 5003 read, 3 left out, seed "
            "1234567, 20000 resamples, TALVIK 2) [A is -inf]\n");
}

TEST(TextLines, FailuresGiveTheirErrorOnOneLine) {
  AnalysisRow row;
  row.file = "a\nb.txt";
  row.error = "line 2: \"x\ty\"";
  EXPECT_EQ(textLine(row, {}, "1"),
            "a\\x0Ab.txt: not analysed: line 2: \"x\\x09y\"\n");
}

}  // namespace
}  // namespace talvik
