#include "batch/text_lines.h"

#include <gtest/gtest.h>

#include <limits>
#include <vector>

namespace talvik {
namespace {

AnalysisRow sitesRow() {
  AnalysisRow row;
  row.file = "sites37.txt";
  row.seed = 1234567.0;
  row.numbers = AnalysisNumbers{37, 0.09632224f, {}};
  row.numbers->ranges = {{99, -0.27574524f, 0.5224027f, 0.7981479f},
                         {95, -0.20416889f, 0.42313367f, 0.6273026f},
                         {50, -0.0004f, 1234.5675f, 0.1f}};
  row.sizesRead = 37;
  return row;
}

TEST(TextLines, NumbersAreTheDialoguesWithTheLevelsAsked) {
  const std::vector<int> one{95};
  EXPECT_EQ(textLine(sitesRow(), one, "1.0.0"),
            "sites37.txt: A = 0.096, 95 % range -0.204 to 0.423 (n = 37, "
            "seed 1234567, 1000 resamples, TALVIK 1.0.0)\n");
  // -0.0004 shows as the dialogue shows it, and a wide number whole.
  const std::vector<int> two{99, 50};
  EXPECT_EQ(textLine(sitesRow(), two, "2"),
            "sites37.txt: A = 0.096, 99 % range -0.276 to 0.522, 50 % range "
            "0.000 to 1234.568 (n = 37, seed 1234567, 1000 resamples, TALVIK "
            "2)\n");
}

TEST(TextLines, CountsSayWhatWasCutOrLeftOutAndNotesFollow) {
  AnalysisRow row = sitesRow();
  row.numbers->settlements = 1000;
  row.numbers->a = -std::numeric_limits<float>::infinity();
  row.sizesRead = 5003;
  row.leftOut = 3;
  row.note = "A is -inf";
  const std::vector<int> one{95};
  EXPECT_EQ(textLine(row, one, "1.0.0"),
            "sites37.txt: A = -INF, 95 % range -0.204 to 0.423 (n = 1000 of "
            "5003 read, 3 left out, seed 1234567, 1000 resamples, TALVIK "
            "1.0.0) [A is -inf]\n");
  row.sizesRead = 1003;
  EXPECT_EQ(textLine(row, {}, "1").substr(0, 44),
            "sites37.txt: A = -INF (n = 1000, 3 left out,");
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
