#include "plot/chart_layout.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <utility>
#include <vector>

namespace talvik {
namespace {

ChartRow rowFromZeroToOne(std::string label) {
  ChartRow row{std::move(label), 0.5, {}, 37};
  for (ARange& range : row.ranges) range = {0.0, 1.0};
  return row;
}

TEST(ChartLayout, TellsWhyARowHasNoBars) {
  ChartRow row = rowFromZeroToOne("a.txt");
  EXPECT_EQ(whyNotDrawn(row), std::nullopt);
  row.ranges[4].upper = 2e6;
  EXPECT_EQ(whyNotDrawn(row), "beyond a million");
  row.ranges[1].lower = std::nan("");
  EXPECT_EQ(whyNotDrawn(row), "range not finite");
  row.a = INFINITY;
  EXPECT_EQ(whyNotDrawn(row), "A not finite");
}

// Ranges from exactly 0 to exactly 1 would put both guides on the frame: the
// axis reaches one step of 0.2 beyond each.
TEST(ChartLayout, KeepsTheGuidesOffTheFrame) {
  const std::vector<ChartRow> rows = {rowFromZeroToOne("a.txt"),
                                      rowFromZeroToOne("b.txt")};
  const std::vector<std::string> labels = {"a.txt", "b.txt"};
  const ChartLayout layout(rows, labels, "Two", false);
  // 20 + 12 characters of 7 + 10 + "n = 37" + 10
  EXPECT_EQ(layout.plotLeft(), 166.0);
  EXPECT_EQ(layout.pictureWidth(), 696);
  EXPECT_EQ(layout.pictureHeight(), 120 + 2 * 24 + 12 + 60);
  EXPECT_EQ(layout.rowCentre(1), 162.0);
  const std::vector<double> ticks = layout.tickValues();
  ASSERT_EQ(ticks.size(), 8u);
  EXPECT_EQ(layout.tickLabel(ticks.front()),
            "\xE2\x88\x92"
            "0.2");
  EXPECT_EQ(layout.tickLabel(ticks.back()), "1.2");
  EXPECT_EQ(layout.pixelOf(ticks.front()), 166.0);
  EXPECT_DOUBLE_EQ(layout.pixelOf(0.0), 166.0 + 480.0 / 7.0);
}

TEST(ChartLayout, WidensForALongTitle) {
  const std::vector<ChartRow> rows = {rowFromZeroToOne("a.txt")};
  const std::vector<std::string> labels = {"a.txt"};
  const ChartLayout layout(rows, labels, std::string(100, 'T'), true);
  EXPECT_EQ(layout.width(), 2 * 20.0 + 100 * 11.0);
  EXPECT_EQ(layout.pictureWidth(), 1140);
  EXPECT_EQ(layout.pictureHeight(), 120 + 24 + 12 + 60 + 22);
}

}  // namespace
}  // namespace talvik
