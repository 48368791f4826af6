#include "plot/comparison_chart.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "plot/svg_testutil.h"

namespace talvik {
namespace {

// Numbers from -0.5 to 0.75 with 1 in view: steps of 0.2 from -0.6 to 1.2
// (one step beyond 1, so that its guide is not lost in the frame) over the
// 480 pixels from x = 166 (after the labels and the counts of places),
// 266.67 pixels for each unit of A.
std::vector<ChartRow> fourRows() {
  return {
      {"sites37.txt",
       0.25,
       {{{-0.5, 0.75}, {-0.3, 0.6}, {-0.2, 0.5}, {-0.1, 0.45}, {0.0, 0.4}}},
       37},
      {"R&D <1>.txt",
       0.1,
       {{{0.0, 0.2}, {0.0, 0.2}, {0.05, 0.15}, {0.05, 0.15}, {0.1, 0.1}}},
       12},
      {"zeros.txt", -std::numeric_limits<double>::infinity(), {}, 40},
      {"gaps.txt",
       0.2,
       {{{0.0, 0.3}, {std::nan(""), 0.3}, {0.1, 0.3}, {0.1, 0.3}, {0.1, 0.3}}},
       9},
  };
}

std::size_t count(const std::string& text, const std::string& part) {
  std::size_t found = 0;
  for (std::size_t at = text.find(part); at != std::string::npos;
       at = text.find(part, at + 1)) {
    ++found;
  }
  return found;
}

TEST(ComparisonChart, DrawsAPointAndFiveBarsPerFiniteRowAndANoteOtherwise) {
  const std::vector<std::string> failed = {"lost.txt", "bad.csv"};
  const std::string svg =
      drawComparisonChart(fourRows(), "Four & more", failed);
  const Lines points = group(svg, "points");
  ASSERT_EQ(points.size(), 2u);
  EXPECT_EQ(points[0], "<circle cx=\"392.67\" cy=\"138.00\" r=\"4.00\"/>");
  const Lines bars = group(svg, "ranges");
  ASSERT_EQ(bars.size(), 10u);
  EXPECT_EQ(bars[0],
            "<rect x=\"192.67\" y=\"136.00\" width=\"333.33\" "
            "height=\"4.00\" fill=\"#c6dbef\"/>");
  EXPECT_EQ(bars[4],
            "<rect x=\"326.00\" y=\"130.00\" width=\"106.67\" "
            "height=\"16.00\" fill=\"#2171b5\"/>");
  EXPECT_EQ(group(svg, "not-drawn"),
            (Lines{"<text x=\"174.00\" y=\"190.00\">A not finite</text>",
                   "<text x=\"174.00\" y=\"214.00\">range not finite</text>"}));
  EXPECT_EQ(group(svg, "row-labels")[1],
            "<text x=\"104.00\" y=\"166.00\">R&amp;D &lt;1&gt;.txt</text>");
  EXPECT_EQ(group(svg, "places")[0],
            "<text x=\"156.00\" y=\"142.00\">n = 37</text>");
  EXPECT_EQ(lineStartingWith(svg, "<text id=\"not-analysed\""),
            "<text id=\"not-analysed\" x=\"20.00\" y=\"294.00\" "
            "fill=\"#555555\">Not analysed: lost.txt, bad.csv</text>");
  EXPECT_EQ(lineStartingWith(svg, "<title>"), "<title>Four &amp; more</title>");
}

TEST(ComparisonChart, PutsTheGuidesAtZeroAndOneAmongRoundTicks) {
  const std::string svg = drawComparisonChart(fourRows(), "Four", {});
  EXPECT_EQ(lineStartingWith(svg, "<line id=\"rank-size-line\""),
            "<line id=\"rank-size-line\" x1=\"326.00\" y1=\"120.00\" "
            "x2=\"326.00\" y2=\"228.00\" stroke=\"#b2182b\" "
            "stroke-dasharray=\"7 4\"/>");
  EXPECT_EQ(lineStartingWith(svg, "<line id=\"all-sizes-equal\""),
            "<line id=\"all-sizes-equal\" x1=\"592.67\" y1=\"120.00\" "
            "x2=\"592.67\" y2=\"228.00\" stroke=\"#555555\" "
            "stroke-dasharray=\"2 3\"/>");
  Lines ticks;
  for (const std::string& line : group(svg, "axis-labels")) {
    const std::size_t start = line.find('>') + 1;
    ticks.push_back(line.substr(start, line.find('<', start) - start));
  }
  EXPECT_EQ(ticks,
            (Lines{"\xE2\x88\x92"
                   "0.6",
                   "\xE2\x88\x92"
                   "0.4",
                   "\xE2\x88\x92"
                   "0.2",
                   "0.0", "0.2", "0.4", "0.6", "0.8", "1.0", "1.2", "A"}));
}

TEST(ComparisonChart, GrowsWithThousandsOfRowsAndShortensLongLabels) {
  std::vector<ChartRow> rows(3000, fourRows()[0]);
  rows[7].label = std::string(60, 'x');
  const std::string svg = drawComparisonChart(rows, "Many", {});
  EXPECT_NE(lines(svg)[1].find(" height=\"72192\" "), std::string::npos);
  EXPECT_EQ(group(svg, "points").size(), 3000u);
  EXPECT_EQ(count(svg, "<g "), count(svg, "</g>"));
  EXPECT_TRUE(group(svg, "row-labels")[7].ends_with(
      ">" + std::string(23, 'x') + "\xE2\x80\xA6" + std::string(24, 'x') +
      "</text>"));
}

// Differences near 0 keep -0.1 to 0.1 in view and off the frame, 1 need not
// be, and the one guide is the line at 0.
TEST(DifferenceChart, GuideAtZeroOnlyAndTheWordsOfDifferences) {
  const std::vector<ChartRow> rows = {{"valley.txt",
                                       0.02,
                                       {{{-0.05, 0.09},
                                         {-0.04, 0.08},
                                         {-0.03, 0.07},
                                         {-0.02, 0.06},
                                         {0.0, 0.04}}},
                                       12}};
  const std::string svg =
      drawDifferenceChart(rows, "Differences", "sites37.txt", {});
  EXPECT_EQ(count(svg, "id=\"no-difference\""), 1u);
  EXPECT_EQ(count(svg, "all-sizes-equal"), 0u);
  EXPECT_EQ(count(svg, "rank-size-line"), 0u);
  EXPECT_EQ(count(svg, "1 comparison with sites37.txt: differences in A"), 1u);
  EXPECT_EQ(count(svg, ">difference in A</text>"), 2u);  // legend and axis
  const std::vector<std::string> ticks = group(svg, "axis-labels");
  EXPECT_TRUE(ticks.front().ends_with(">−0.125</text>"));
  EXPECT_TRUE(ticks[ticks.size() - 2].ends_with(">0.125</text>"));
}

}  // namespace
}  // namespace talvik
