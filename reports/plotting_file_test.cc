#include "reports/plotting_file.h"

#include <string>
#include <vector>

#include "analysis/rank_size_a.h"
#include "gtest/gtest.h"
#include "session/console/collected_records_testutil.h"

namespace talvik {
namespace {

using Records = std::vector<std::string>;

TEST(PlottingFile, LevelRangeStartsWithTheLevelInFourColumns) {
  CollectedRecords screen;
  writeLevelRange(screen,
                  {.level = 5, .lower = -0.25f, .upper = 0.5f, .width = 0.75f});
  EXPECT_EQ(
      screen.records,
      Records{"   5% Confidence: -0.250 to  0.500   (Range=  0.750)\r\n"});
}

TEST(PlottingFile, HeaderThenOneRowPerRankWithTheReferenceLine) {
  CollectedRecords file;
  const std::vector<float> observed = {12500.0f, 50.0f, 0.0f};
  LevelAnalysis level;
  level.referenceLine = referenceLine(observed[0], observed.size());
  level.upperResample = {12500.0f, 12500.0f, 50.0f};
  level.lowerResample = {12500.0f, 0.0f, 0.0f};
  writePlottingFile(file, observed, level);
  EXPECT_EQ(file.records,
            (Records{
                "RANK,SETSIZE,LOGNORM,SIZEUP,SIZELO\r\n",
                "   1,     12500.0000,     12500.0000,     12500.0000,"
                "     12500.0000\r\n",
                "   2,        50.0000,      6250.0000,     12500.0000,"
                "         0.0000\r\n",
                // 12500 / 3 is 4166.6665 in float: its 8 digits round up.
                "   3,         0.0000,      4166.6670,        50.0000,"
                "         0.0000\r\n",
            }));
}

TEST(PlottingFile, InstructionsNameTheFileAndTheLevelInTwoColumns) {
  CollectedRecords screen;
  writePlottingInstructions(screen, "plot.csv    ", 5);
  EXPECT_EQ(screen.records,
            (Records{
                " \r\n",
                " Data for plotting have been written to the file:plot.csv    "
                "\r\n",
                " \r\n",
                " Use statistics software to transform all five variables\r\n",
                " into their logarithms. Then plot RANK on the X-axis\r\n",
                " against the other four variables on the Y-axis,\r\n",
                " with all four lines overlaid on the same graph,\r\n",
                " for a plot with approximate  5% confidence zone.\r\n",
            }));
}

}  // namespace
}  // namespace talvik
