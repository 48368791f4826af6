#include "plot/comparison_chart.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "plot/chart_labels.h"
#include "plot/chart_layout.h"
#include "plot/chart_style.h"
#include "plot/svg_writer.h"

namespace talvik {
namespace {

constexpr double kLegendY = 78.0;
constexpr double kPointRadius = 4.0;

// In kChartLevels order: the wider the range, the lighter and thinner.
constexpr auto kRangeColours = std::to_array<std::string_view>(
    {"#c6dbef", "#9ecae1", "#6baed6", "#4292c6", "#2171b5"});
constexpr auto kRangeThickness =
    std::to_array<double>({4.0, 7.0, 10.0, 13.0, 16.0});
static_assert(kRangeColours.size() == kChartLevels.size() &&
                  kRangeThickness.size() == kChartLevels.size(),
              "one colour and one thickness for each level");
constexpr std::string_view kDot = "2 3";
constexpr std::string_view kRankSizeLabel = "rank-size line";
constexpr std::string_view kAllEqualLabel = "all sizes equal";
constexpr std::string_view kNoDifferenceLabel = "no difference";
// The values an axis of differences keeps in view, 0 well inside.
constexpr std::array<double, 2> kDifferenceGuides = {-0.1, 0.1};

// "99, 95, 90, 80 and 66" for the subtitle.
std::string levelList() {
  std::string list;
  for (std::size_t i = 0; i < kChartLevels.size(); ++i) {
    if (i > 0) list += i + 1 == kChartLevels.size() ? " and " : ", ";
    list += std::to_string(kChartLevels[i]);
  }
  return list;
}

// The chart of analyses, or, with a reference, of differences from it.
class ChartWriter {
 public:
  ChartWriter(std::span<const ChartRow> rows, std::string_view title,
              std::span<const std::string> notAnalysed,
              std::optional<std::string_view> reference = std::nullopt)
      : rows_(rows),
        reference_(reference),
        labels_(shownLabels(rows)),
        layout_(rows, labels_, title, !notAnalysed.empty(),
                reference ? kDifferenceGuides : ChartLayout::kAGuides),
        svg_(layout_.pictureWidth(), layout_.pictureHeight(), title),
        title_(title),
        note_(notAnalysedNote(
            notAnalysed,
            static_cast<std::size_t>((layout_.width() - 2 * kChartMargin) /
                                     kChartTextCharacterWidth))) {}

  std::string draw() {
    svg_.element("text",
                 {{"x", kChartMargin},
                  {"y", 32.0},
                  {"font-size", kTitleFontSize},
                  {"font-weight", "bold"}},
                 title_);
    svg_.element("text",
                 {{"x", kChartMargin}, {"y", 52.0}, {"fill", kQuietTextColour}},
                 subtitle());
    drawLegend();
    drawGrid();
    drawGuides();
    drawRows();
    drawAxis();
    if (!note_.empty()) {
      svg_.element("text",
                   {{"id", "not-analysed"},
                    {"x", kChartMargin},
                    {"y", layout_.noteBaseline()},
                    {"fill", kQuietTextColour}},
                   note_);
    }
    return svg_.finish();
  }

 private:
  void verticalLine(double x, double top, double bottom) {
    svg_.element("line", {{"x1", x}, {"y1", top}, {"x2", x}, {"y2", bottom}});
  }

  // A bar of the given level's thickness and colour from `left` to `right`.
  void bar(std::size_t level, double left, double right, double centre) {
    svg_.element("rect", {{"x", left},
                          {"y", centre - kRangeThickness[level] / 2.0},
                          {"width", right - left},
                          {"height", kRangeThickness[level]},
                          {"fill", kRangeColours[level]}});
  }

  void point(double x, double y) {
    svg_.element("circle", {{"cx", x}, {"cy", y}, {"r", kPointRadius}});
  }

  std::string subtitle() const {
    const std::string count = std::to_string(rows_.size());
    if (!reference_) {
      return count + (rows_.size() == 1 ? " analysis" : " analyses") +
             ": A and its ranges at " + levelList() + " % confidence";
    }
    return count +
           (rows_.size() == 1 ? " comparison with " : " comparisons with ") +
           std::string(*reference_) + ": differences in A, ranges at " +
           levelList() + " % confidence";
  }

  // What the points show: the legend's word, the axis's name.
  std::string_view measure() const {
    return reference_ ? "difference in A" : "A";
  }

  void drawLegend() {
    svg_.open("g", {{"id", "legend"}, {"fill", kInkColour}});
    double x = layout_.plotLeft();
    svg_.open("g", {{"stroke", "#ffffff"}, {"stroke-width", "1"}});
    point(x + 6.0, kLegendY);
    svg_.close();
    svg_.element("text", {{"x", x + 16.0}, {"y", kLegendY + 4.0}}, measure());
    x += 37.0 + measure().size() * kChartTextCharacterWidth;
    for (std::size_t level = 0; level < kChartLevels.size(); ++level) {
      bar(level, x, x + 22.0, kLegendY);
      svg_.element("text", {{"x", x + 28.0}, {"y", kLegendY + 4.0}},
                   std::to_string(kChartLevels[level]) + " %");
      x += 72.0;
    }
    svg_.close();
  }

  void drawGrid() {
    svg_.open("g", {{"id", "grid"},
                    {"stroke", kGridColour},
                    {"stroke-width", kFrameWidth}});
    for (const double a : layout_.tickValues()) {
      verticalLine(layout_.pixelOf(a), kChartPlotTop, layout_.plotBottom());
    }
    svg_.close();
  }

  // Each guide line with its label centred above it, or, where the two
  // labels would meet, set off to the outer side of its line.
  void drawGuides() {
    if (reference_) {
      drawNoDifference();
      return;
    }
    const double rankSizeX = layout_.pixelOf(0.0);
    const double allEqualX = layout_.pixelOf(1.0);
    const double rankSizeWidth = detailTextWidth(kRankSizeLabel);
    const double allEqualWidth = detailTextWidth(kAllEqualLabel);
    const bool apart =
        allEqualX - rankSizeX >= (rankSizeWidth + allEqualWidth) / 2.0 + 8.0;
    svg_.open("g", {{"id", "guides"}, {"stroke-width", kFrameWidth}});
    svg_.element("line", {{"id", "rank-size-line"},
                          {"x1", rankSizeX},
                          {"y1", kChartPlotTop},
                          {"x2", rankSizeX},
                          {"y2", layout_.plotBottom()},
                          {"stroke", kReferenceColour},
                          {"stroke-dasharray", kDash}});
    svg_.element("line", {{"id", "all-sizes-equal"},
                          {"x1", allEqualX},
                          {"y1", kChartPlotTop},
                          {"x2", allEqualX},
                          {"y2", layout_.plotBottom()},
                          {"stroke", kQuietTextColour},
                          {"stroke-dasharray", kDot}});
    guideLabel(
        apart ? rankSizeX - rankSizeWidth / 2.0 : rankSizeX - rankSizeWidth,
        kRankSizeLabel, kReferenceColour);
    guideLabel(apart ? allEqualX - allEqualWidth / 2.0 : allEqualX,
               kAllEqualLabel, kQuietTextColour);
    svg_.close();
  }

  void drawNoDifference() {
    const double x = layout_.pixelOf(0.0);
    svg_.open("g", {{"id", "guides"}, {"stroke-width", kFrameWidth}});
    svg_.element("line", {{"id", "no-difference"},
                          {"x1", x},
                          {"y1", kChartPlotTop},
                          {"x2", x},
                          {"y2", layout_.plotBottom()},
                          {"stroke", kReferenceColour},
                          {"stroke-dasharray", kDash}});
    guideLabel(x - detailTextWidth(kNoDifferenceLabel) / 2.0,
               kNoDifferenceLabel, kReferenceColour);
    svg_.close();
  }

  // The label starting at `left`, kept inside the picture.
  void guideLabel(double left, std::string_view text, std::string_view colour) {
    const double x =
        std::clamp(left, 4.0, layout_.width() - 4.0 - detailTextWidth(text));
    svg_.element("text",
                 {{"x", x},
                  {"y", kChartPlotTop - 6.0},
                  {"font-size", kDetailFontSize},
                  {"fill", colour}},
                 text);
  }

  void drawRows() {
    svg_.open("g", {{"id", "ranges"}});
    for (std::size_t i = 0; i < rows_.size(); ++i) {
      if (whyNotDrawn(rows_[i])) continue;
      for (std::size_t level = 0; level < kChartLevels.size(); ++level) {
        const ARange& range = rows_[i].ranges[level];
        bar(level, layout_.pixelOf(std::min(range.lower, range.upper)),
            layout_.pixelOf(std::max(range.lower, range.upper)),
            layout_.rowCentre(i));
      }
    }
    svg_.close();
    svg_.open("g", {{"id", "points"},
                    {"fill", kInkColour},
                    {"stroke", "#ffffff"},
                    {"stroke-width", "1"}});
    for (std::size_t i = 0; i < rows_.size(); ++i) {
      if (!whyNotDrawn(rows_[i])) {
        point(layout_.pixelOf(rows_[i].a), layout_.rowCentre(i));
      }
    }
    svg_.close();
    svg_.open(
        "g",
        {{"id", "row-labels"}, {"fill", kInkColour}, {"text-anchor", "end"}});
    for (std::size_t i = 0; i < rows_.size(); ++i) {
      svg_.element(
          "text",
          {{"x", layout_.labelsRight()}, {"y", layout_.rowCentre(i) + 4.0}},
          labels_[i]);
    }
    svg_.close();
    svg_.open(
        "g",
        {{"id", "places"}, {"fill", kQuietTextColour}, {"text-anchor", "end"}});
    for (std::size_t i = 0; i < rows_.size(); ++i) {
      svg_.element(
          "text",
          {{"x", layout_.placesRight()}, {"y", layout_.rowCentre(i) + 4.0}},
          placesText(rows_[i]));
    }
    svg_.close();
    // A white rim keeps a note readable where a guide line crosses it.
    svg_.open("g", {{"id", "not-drawn"},
                    {"font-size", kDetailFontSize},
                    {"fill", kQuietTextColour},
                    {"stroke", "#ffffff"},
                    {"stroke-width", "3"},
                    {"paint-order", "stroke"}});
    for (std::size_t i = 0; i < rows_.size(); ++i) {
      if (const auto why = whyNotDrawn(rows_[i])) {
        svg_.element("text",
                     {{"x", layout_.plotLeft() + 8.0},
                      {"y", layout_.rowCentre(i) + 4.0}},
                     *why);
      }
    }
    svg_.close();
  }

  void drawAxis() {
    const double bottom = layout_.plotBottom();
    svg_.open("g", {{"id", "axis"},
                    {"stroke", kInkColour},
                    {"stroke-width", kFrameWidth}});
    svg_.element("rect", {{"x", layout_.plotLeft()},
                          {"y", kChartPlotTop},
                          {"width", kChartPlotWidth},
                          {"height", bottom - kChartPlotTop},
                          {"fill", "none"}});
    for (const double a : layout_.tickValues()) {
      verticalLine(layout_.pixelOf(a), bottom, bottom + kTickLength);
    }
    svg_.close();
    svg_.open("g", {{"id", "axis-labels"},
                    {"fill", kInkColour},
                    {"text-anchor", "middle"}});
    for (const double a : layout_.tickValues()) {
      svg_.element("text", {{"x", layout_.pixelOf(a)}, {"y", bottom + 20.0}},
                   layout_.tickLabel(a));
    }
    svg_.element("text",
                 {{"x", layout_.plotLeft() + kChartPlotWidth / 2.0},
                  {"y", bottom + 44.0},
                  {"font-size", kAxisNameFontSize}},
                 measure());
    svg_.close();
  }

  std::span<const ChartRow> rows_;
  std::optional<std::string_view> reference_;
  std::vector<std::string> labels_;
  ChartLayout layout_;
  SvgWriter svg_;
  std::string_view title_;
  std::string note_;
};

}  // namespace

std::string drawComparisonChart(std::span<const ChartRow> rows,
                                std::string_view title,
                                std::span<const std::string> notAnalysed) {
  return ChartWriter(rows, title, notAnalysed).draw();
}

std::string drawDifferenceChart(std::span<const ChartRow> rows,
                                std::string_view title,
                                std::string_view reference,
                                std::span<const std::string> notCompared) {
  return ChartWriter(rows, title, notCompared, reference).draw();
}

}  // namespace talvik
