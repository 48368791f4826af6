#include "plot/svg_graph.h"

#include <gtest/gtest.h>

#include <limits>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "plot/svg_testutil.h"

namespace talvik {
namespace {

PlottedSize size(double value) { return {SizeReading::kNumber, value}; }
PlottedSize filling(SizeReading reading) { return {reading, 0.0}; }

// Three ranks, sizes on exact decades. The rank axis spans log 3 with 2.5 %
// of it beyond each end: ranks 1, 2 and 3 stand at x = 103.10, 433.58 and
// 626.90 of the 550 pixels from x = 90. Sizes 10 to 1000 span 380 pixels
// from y = 450 up to y = 70.
std::vector<PlottingRow> threeRanks() {
  return {
      {1, {size(1000.0), size(1000.0), size(1000.0), size(100.0)}},
      {2, {size(100.0), size(500.0), size(100.0), size(10.0)}},
      {3, {size(10.0), size(333.3333), size(0.0), size(10.0)}},
  };
}

TEST(SvgGraph, PlacesEachObservedSizeOnLogarithmicAxes) {
  const std::string svg =
      drawRankSizeGraph(threeRanks(), {"Rank-size graph of three.csv"});
  EXPECT_EQ(group(svg, "observed-points"),
            (Lines{"<circle cx=\"103.10\" cy=\"70.00\" r=\"3\"/>",
                   "<circle cx=\"433.58\" cy=\"260.00\" r=\"3\"/>",
                   "<circle cx=\"626.90\" cy=\"450.00\" r=\"3\"/>"}));
  EXPECT_EQ(group(svg, "observed-line"),
            (Lines{"<polyline points=\"103.10,70.00 433.58,260.00 "
                   "626.90,450.00\"/>"}));
}

TEST(SvgGraph, DrawsSmallPlainPointsWhereManyRanksCrowdTheLine) {
  std::vector<PlottingRow> rows;
  for (int rank = 1; rank <= 101; ++rank) {
    const double observed = 1000.0 / rank;
    rows.push_back(
        {rank,
         {size(observed), size(observed), size(observed), size(observed)}});
  }
  const std::string svg =
      drawRankSizeGraph(rows, {"Rank-size graph of crowded.csv"});
  EXPECT_EQ(lineStartingWith(svg, "<g id=\"observed-points\""),
            "<g id=\"observed-points\" fill=\"#1a1a1a\">");
  const Lines points = group(svg, "observed-points");
  ASSERT_EQ(points.size(), 101u);
  EXPECT_EQ(points.front(), "<circle cx=\"103.10\" cy=\"70.00\" r=\"1.5\"/>");
  rows.pop_back();
  EXPECT_EQ(lineStartingWith(
                drawRankSizeGraph(rows, {"Rank-size graph of uncrowded.csv"}),
                "<g id=\"observed-points\""),
            "<g id=\"observed-points\" fill=\"#1a1a1a\" stroke=\"#ffffff\" "
            "stroke-width=\"0.75\">");
}

TEST(SvgGraph, DashesTheReferenceLine) {
  const std::string svg =
      drawRankSizeGraph(threeRanks(), {"Rank-size graph of three.csv"});
  EXPECT_EQ(lineStartingWith(svg, "<g id=\"reference\""),
            "<g id=\"reference\" fill=\"none\" stroke=\"#b2182b\" "
            "stroke-width=\"1.5\" stroke-dasharray=\"7 4\">");
  EXPECT_EQ(group(svg, "reference"),
            (Lines{"<polyline points=\"103.10,70.00 433.58,127.20 "
                   "626.90,160.65\"/>"}));
}

TEST(SvgGraph, ShadesTheZoneAlongTheUpperBoundThenBackAlongTheLower) {
  const std::string svg =
      drawRankSizeGraph(threeRanks(), {"Rank-size graph of three.csv"});
  EXPECT_EQ(
      lineStartingWith(svg, "<polygon id=\"zone\""),
      "<polygon id=\"zone\" points=\"103.10,70.00 433.58,260.00 "
      "626.90,450.00 433.58,450.00 103.10,260.00\" fill=\"#c6dbef\" "
      "stroke=\"#4a7ab5\" stroke-width=\"1\" stroke-linejoin=\"round\"/>");
}

TEST(SvgGraph, LabelsEveryDecadeOfBothAxesAndEveryRankBelowTen) {
  const std::string svg =
      drawRankSizeGraph(threeRanks(), {"Rank-size graph of three.csv"});
  EXPECT_EQ(
      group(svg, "axis-labels"),
      (Lines{"<text x=\"103.10\" y=\"470.00\" text-anchor=\"middle\">1</text>",
             "<text x=\"433.58\" y=\"470.00\" text-anchor=\"middle\">2</text>",
             "<text x=\"626.90\" y=\"470.00\" text-anchor=\"middle\">3</text>",
             "<text x=\"80.00\" y=\"454.00\" text-anchor=\"end\">10</text>",
             "<text x=\"80.00\" y=\"264.00\" text-anchor=\"end\">100</text>",
             "<text x=\"80.00\" y=\"74.00\" text-anchor=\"end\">1000</text>",
             "<text x=\"365.00\" y=\"496.00\" text-anchor=\"middle\" "
             "font-size=\"13\">Rank</text>",
             "<text transform=\"translate(24,260.00) rotate(-90)\" "
             "text-anchor=\"middle\" font-size=\"13\">Size</text>"}));
}

TEST(SvgGraph, EndsTheRankAxisAtTheLastRankTickedFromRankOne) {
  std::vector<PlottingRow> rows;
  for (int rank = 1; rank <= 101; ++rank) {
    rows.push_back({rank, {size(100.0), size(100.0), size(100.0), size(1.0)}});
  }
  const std::string svg = drawRankSizeGraph(rows, {"Rank-size graph of a"});
  const Lines labels = group(svg, "axis-labels");
  EXPECT_EQ(Lines(labels.begin(), labels.begin() + 3),
            (Lines{"<text x=\"103.10\" y=\"470.00\" "
                   "text-anchor=\"middle\">1</text>",
                   "<text x=\"364.44\" y=\"470.00\" "
                   "text-anchor=\"middle\">10</text>",
                   "<text x=\"625.78\" y=\"470.00\" "
                   "text-anchor=\"middle\">100</text>"}));
  // Ranks 1 to 9, 10 to 90 and 100; rank 101 is the last, 200 out of view.
  Lines rankTicks;
  for (const std::string& line : group(svg, "axes")) {
    if (line.ends_with("y2=\"456.00\"/>") ||
        line.ends_with("y2=\"453.00\"/>")) {
      rankTicks.push_back(line);
    }
  }
  ASSERT_EQ(rankTicks.size(), 19u);
  EXPECT_EQ(rankTicks.front(),
            "<line x1=\"103.10\" y1=\"450.00\" x2=\"103.10\" y2=\"456.00\"/>");
  EXPECT_EQ(rankTicks.back(),
            "<line x1=\"625.78\" y1=\"450.00\" x2=\"625.78\" y2=\"456.00\"/>");
}

TEST(SvgGraph, LegendNamesTheLevelAndShowsAWithThreeDecimals) {
  std::vector<PlottingRow> rows = threeRanks();
  const auto legendLines = [&rows](std::optional<double> a) {
    const std::string svg =
        drawRankSizeGraph(rows, {"Rank-size graph of three.csv", 90, a});
    return group(svg, "legend");
  };
  const Lines legend = legendLines(0.0964);
  ASSERT_EQ(legend.size(), 12u);
  EXPECT_EQ(legend[8],
            "<text x=\"706.00\" y=\"184.00\">90 % confidence zone</text>");
  EXPECT_EQ(legend[10], "<text x=\"706.00\" y=\"228.00\">A = 0.096</text>");
  EXPECT_EQ(legendLines(-0.0004)[10],
            "<text x=\"706.00\" y=\"228.00\">A = 0.000</text>");
  EXPECT_EQ(legendLines(-0.5)[10],
            "<text x=\"706.00\" y=\"228.00\">A = -0.500</text>");
  EXPECT_EQ(legendLines(-std::numeric_limits<double>::infinity())[10],
            "<text x=\"706.00\" y=\"228.00\">A not finite</text>");
  EXPECT_EQ(legendLines(std::nullopt).size(), 10u);
  // The note of sizes left out moves below the A.
  const std::string svg =
      drawRankSizeGraph(rows, {"Rank-size graph of three.csv", 90, 0.1});
  EXPECT_EQ(group(svg, "left-out").front(),
            "<text x=\"668.00\" y=\"276.00\" font-weight=\"bold\">Not drawn "
            "(no logarithm):</text>");
}

TEST(SvgGraph, WritesEveryDecadeAsAPowerOfTenWhenOneIsAboveAMillion) {
  const std::vector<PlottingRow> rows = {
      {1, {size(5000000.0), size(5000000.0), size(5000000.0), size(5000000.0)}},
  };
  const Lines labels = group(
      drawRankSizeGraph(rows, {"Rank-size graph of big.csv"}), "axis-labels");
  EXPECT_EQ(labels[2],
            "<text x=\"80.00\" y=\"454.00\" text-anchor=\"end\">10<tspan "
            "dy=\"-6\" font-size=\"9\">6</tspan></text>");
  EXPECT_EQ(labels[3],
            "<text x=\"80.00\" y=\"74.00\" text-anchor=\"end\">10<tspan "
            "dy=\"-6\" font-size=\"9\">7</tspan></text>");
}

TEST(SvgGraph, NamesTheUnitAndLeavesAZoneWithoutWidthOutOfTheLegend) {
  const std::vector<PlottingRow> rows = {
      {1, {size(250.0), size(250.0), size(250.0), size(250.0)}},
      {2, {size(250.0), size(125.0), size(250.0), size(250.0)}},
  };
  const std::string svg =
      drawRankSizeGraph(rows, {"Equal", 90, 1.0, "ha & more"});
  EXPECT_EQ(group(svg, "axis-labels").back(),
            "<text transform=\"translate(24,260.00) rotate(-90)\" "
            "text-anchor=\"middle\" font-size=\"13\">Size (ha &amp; "
            "more)</text>");
  EXPECT_EQ(svg.find("id=\"zone\""), std::string::npos);
  EXPECT_EQ(svg.find("90 % confidence zone<"), std::string::npos);
  EXPECT_EQ(group(svg, "no-zone").size(), 2u);
}

TEST(SvgGraph, LeavesOutSizesWithoutLogarithmBreakingTheLineAndNotesThem) {
  const std::vector<PlottingRow> rows = {
      {1,
       {size(100.0), size(100.0), filling(SizeReading::kOverflow),
        size(100.0)}},
      {2, {size(0.0), size(50.0), size(50.0), size(50.0)}},
      {3,
       {size(10.0), size(33.3333), size(10.0),
        filling(SizeReading::kInfinity)}},
      {4,
       {filling(SizeReading::kNotANumber), size(25.0), size(0.0), size(0.0)}},
  };
  const std::string svg =
      drawRankSizeGraph(rows, {"Rank-size graph of gaps.csv"});
  EXPECT_EQ(group(svg, "observed-points").size(), 2u);
  EXPECT_EQ(group(svg, "observed-line"),
            (Lines{"<polyline points=\"103.10,70.00\"/>",
                   "<polyline points=\"518.20,450.00\"/>"}));
  EXPECT_EQ(
      group(svg, "left-out"),
      (Lines{"<text x=\"668.00\" y=\"232.00\" font-weight=\"bold\">Not drawn "
             "(no logarithm):</text>",
             "<text x=\"668.00\" y=\"248.00\">SETSIZE: 1 zero, 1 NaN</text>",
             "<text x=\"668.00\" y=\"264.00\">SIZEUP: 1 zero, 1 overflow "
             "(*)</text>",
             "<text x=\"668.00\" y=\"280.00\">SIZELO: 1 zero, 1 INF</text>"}));
}

TEST(SvgGraph, HasNoNoteWhenEverySizeIsDrawn) {
  std::vector<PlottingRow> rows = threeRanks();
  rows[2].sizes[kSizeUp] = size(10.0);
  EXPECT_EQ(drawRankSizeGraph(rows, {"Rank-size graph of three.csv"})
                .find("left-out"),
            std::string::npos);
}

TEST(SvgGraph, DrawsEmptyAxesFromOneToTenWhenNoSizeHasALogarithm) {
  const std::vector<PlottingRow> rows = {
      {1, {size(0.0), size(0.0), size(0.0), size(0.0)}},
  };
  const std::string svg =
      drawRankSizeGraph(rows, {"Rank-size graph of zeros.csv"});
  EXPECT_TRUE(group(svg, "observed-points").empty());
  EXPECT_TRUE(group(svg, "observed-line").empty());
  EXPECT_EQ(svg.find("<polygon"), std::string::npos);
  const Lines labels = group(svg, "axis-labels");
  EXPECT_EQ(labels[2],
            "<text x=\"80.00\" y=\"454.00\" text-anchor=\"end\">1</text>");
  EXPECT_EQ(labels[3],
            "<text x=\"80.00\" y=\"74.00\" text-anchor=\"end\">10</text>");
}

TEST(SvgGraph, NamesTheFileInTheTitleEscapedForXml) {
  const std::string svg =
      drawRankSizeGraph(threeRanks(), {"Rank-size graph of R&D <1>.csv"});
  EXPECT_EQ(lineStartingWith(svg, "<title>"),
            "<title>Rank-size graph of R&amp;D &lt;1&gt;.csv</title>");
  EXPECT_EQ(lineStartingWith(svg, "<text x=\"90.00\" y=\"32.00\""),
            "<text x=\"90.00\" y=\"32.00\" font-size=\"18\" "
            "font-weight=\"bold\">Rank-size graph of R&amp;D &lt;1&gt;.csv"
            "</text>");
  EXPECT_EQ(svg.find("R&D"), std::string::npos);
}

TEST(SvgGraph, IsAStandaloneSvgDocumentOfFixedSize) {
  const Lines document =
      lines(drawRankSizeGraph(threeRanks(), {"Rank-size graph of three.csv"}));
  EXPECT_EQ(document.front(), "<?xml version=\"1.0\" encoding=\"UTF-8\"?>");
  EXPECT_EQ(document[1],
            "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"860\" "
            "height=\"510\" viewBox=\"0 0 860 510\" font-family=\"DejaVu "
            "Sans, Liberation Sans, Arial, Helvetica, sans-serif\" "
            "font-size=\"12\">");
  EXPECT_EQ(document.back(), "</svg>");
}

}  // namespace
}  // namespace talvik
