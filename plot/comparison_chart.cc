#include "plot/comparison_chart.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <vector>

#include "plot/chart_style.h"
#include "plot/svg_writer.h"

namespace talvik {
namespace {

constexpr double kMargin = 20.0;
constexpr double kRightMargin = 50.0;  // room for a guide label at the edge
constexpr double kLabelGap = 10.0;
constexpr double kPlotWidth = 480.0;
constexpr double kLegendY = 78.0;
constexpr double kPlotTop = 120.0;
constexpr double kRowHeight = 24.0;
constexpr double kRowPadding = 6.0;
constexpr double kPointRadius = 4.0;
// Rough widths of one character in the shared font, to make room for text.
constexpr double kLabelCharacterWidth = 7.0;   // 12 px
constexpr double kTitleCharacterWidth = 11.0;  // 18 px bold
constexpr double kSmallCharacterWidth = 6.2;   // 10.5 px
constexpr std::size_t kMaxLabelCharacters = 48;
constexpr std::size_t kMinLabelCharacters = 12;
// Numbers beyond a million would squash every other row into one pixel.
constexpr double kLargestDrawn = 1e6;
constexpr int kMostTickSteps = 8;

// In kChartLevels order: the wider the range, the lighter and thinner.
constexpr std::array<std::string_view, kChartLevels.size()> kRangeColours = {
    "#c6dbef", "#9ecae1", "#6baed6", "#4292c6", "#2171b5"};
constexpr std::array<double, kChartLevels.size()> kRangeThickness = {
    4.0, 7.0, 10.0, 13.0, 16.0};
constexpr std::string_view kDot = "2 3";
constexpr std::string_view kRankSizeLabel = "rank-size line";
constexpr std::string_view kAllEqualLabel = "all sizes equal";

bool continuesCharacter(char byte) {
  return (static_cast<unsigned char>(byte) & 0xC0) == 0x80;
}

std::size_t characterCount(std::string_view text) {
  return static_cast<std::size_t>(
      std::count_if(text.begin(), text.end(),
                    [](char byte) { return !continuesCharacter(byte); }));
}

// The label cut to kMaxLabelCharacters with an ellipsis, between characters.
std::string shortened(std::string_view label) {
  if (characterCount(label) <= kMaxLabelCharacters) return std::string(label);
  std::size_t kept = 0;
  std::size_t end = 0;
  for (; end < label.size(); ++end) {
    if (continuesCharacter(label[end])) continue;
    if (kept == kMaxLabelCharacters - 1) break;
    ++kept;
  }
  return std::string(label.substr(0, end)) + "\xE2\x80\xA6";
}

// Why a row has no bars, if it has none.
std::optional<std::string_view> whyNotDrawn(const ChartRow& row) {
  if (!std::isfinite(row.a)) return "A not finite";
  bool beyond = std::abs(row.a) > kLargestDrawn;
  for (const ARange& range : row.ranges) {
    if (!std::isfinite(range.lower) || !std::isfinite(range.upper)) {
      return "range not finite";
    }
    beyond = beyond || std::abs(range.lower) > kLargestDrawn ||
             std::abs(range.upper) > kLargestDrawn;
  }
  if (beyond) return "beyond a million";
  return std::nullopt;
}

// The A axis: round steps from below the smallest to above the largest
// number drawn, 0 and 1 always in view.
struct AScale {
  double lowest = 0.0;
  double highest = 1.0;
  double step = 0.1;
  int decimals = 1;
};

AScale scaleFor(std::span<const ChartRow> rows) {
  double smallest = 0.0;
  double largest = 1.0;
  for (const ChartRow& row : rows) {
    if (whyNotDrawn(row)) continue;
    smallest = std::min(smallest, row.a);
    largest = std::max(largest, row.a);
    for (const ARange& range : row.ranges) {
      smallest = std::min({smallest, range.lower, range.upper});
      largest = std::max({largest, range.lower, range.upper});
    }
  }
  // The smallest step of 1, 2, 2.5 or 5 times a power of ten that needs at
  // most kMostTickSteps steps.
  const double rough = (largest - smallest) / kMostTickSteps;
  const int exponent = static_cast<int>(std::floor(std::log10(rough)));
  struct Candidate {
    int mantissa;
    int exponent;
  };
  const Candidate candidates[] = {{1, exponent},
                                  {2, exponent},
                                  {25, exponent - 1},
                                  {5, exponent},
                                  {1, exponent + 1}};
  AScale scale;
  for (const Candidate& candidate : candidates) {
    // Dividing by a power of ten keeps 0.25 or 0.1 as near as they can be.
    const double power = std::pow(10.0, std::abs(candidate.exponent));
    scale.step = candidate.exponent < 0 ? candidate.mantissa / power
                                        : candidate.mantissa * power;
    scale.decimals = std::max(0, -candidate.exponent);
    if (scale.step >= rough) break;
  }
  scale.lowest = std::floor(smallest / scale.step) * scale.step;
  scale.highest = std::ceil(largest / scale.step) * scale.step;
  // A guide line on the frame would be lost in it.
  const double nearness = scale.step / 1000.0;
  if (std::abs(scale.lowest) < nearness) scale.lowest = -scale.step;
  if (std::abs(scale.highest - 1.0) < nearness) {
    scale.highest = 1.0 + scale.step;
  }
  return scale;
}

class ChartWriter {
 public:
  ChartWriter(std::span<const ChartRow> rows, std::string_view title)
      : rows_(rows),
        scale_(scaleFor(rows)),
        plotLeft_(kMargin + labelColumnWidth(rows) + kLabelGap),
        plotBottom_(kPlotTop + rows.size() * kRowHeight + 2 * kRowPadding),
        width_(std::max(
            plotLeft_ + kPlotWidth + kRightMargin,
            2 * kMargin + characterCount(title) * kTitleCharacterWidth)),
        svg_(static_cast<int>(std::ceil(width_)),
             static_cast<int>(plotBottom_ + 60.0), title),
        title_(title) {}

  std::string draw() {
    svg_.element("text",
                 {{"x", kMargin},
                  {"y", 32.0},
                  {"font-size", kTitleFontSize},
                  {"font-weight", "bold"}},
                 title_);
    svg_.element(
        "text", {{"x", kMargin}, {"y", 52.0}, {"fill", kQuietTextColour}},
        std::to_string(rows_.size()) +
            (rows_.size() == 1 ? " analysis" : " analyses") +
            ": A and its ranges at 99, 95, 90, 80 and 66 % confidence");
    drawLegend();
    drawGrid();
    drawGuides();
    drawRows();
    drawAxis();
    return svg_.finish();
  }

 private:
  static double labelColumnWidth(std::span<const ChartRow> rows) {
    std::size_t characters = kMinLabelCharacters;
    for (const ChartRow& row : rows) {
      characters = std::max(characters, characterCount(shortened(row.label)));
    }
    return characters * kLabelCharacterWidth;
  }

  double pixelOf(double a) const {
    return plotLeft_ +
           (a - scale_.lowest) / (scale_.highest - scale_.lowest) * kPlotWidth;
  }

  double rowCentre(std::size_t index) const {
    return kPlotTop + kRowPadding + (index + 0.5) * kRowHeight;
  }

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

  void drawLegend() {
    svg_.open("g", {{"id", "legend"}, {"fill", kInkColour}});
    double x = plotLeft_;
    svg_.open("g", {{"stroke", "#ffffff"}, {"stroke-width", "1"}});
    point(x + 6.0, kLegendY);
    svg_.close();
    svg_.element("text", {{"x", x + 16.0}, {"y", kLegendY + 4.0}}, "A");
    x += 44.0;
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
    for (const double a : tickValues()) {
      verticalLine(pixelOf(a), kPlotTop, plotBottom_);
    }
    svg_.close();
  }

  // Each guide line with its label centred above it, or, where the two
  // labels would meet, set off to the outer side of its line.
  void drawGuides() {
    const double rankSizeX = pixelOf(0.0);
    const double allEqualX = pixelOf(1.0);
    const double rankSizeWidth = textWidth(kRankSizeLabel);
    const double allEqualWidth = textWidth(kAllEqualLabel);
    const bool apart =
        allEqualX - rankSizeX >= (rankSizeWidth + allEqualWidth) / 2.0 + 8.0;
    svg_.open("g", {{"id", "guides"}, {"stroke-width", kFrameWidth}});
    svg_.element("line", {{"id", "rank-size-line"},
                          {"x1", rankSizeX},
                          {"y1", kPlotTop},
                          {"x2", rankSizeX},
                          {"y2", plotBottom_},
                          {"stroke", kReferenceColour},
                          {"stroke-dasharray", kDash}});
    svg_.element("line", {{"id", "all-sizes-equal"},
                          {"x1", allEqualX},
                          {"y1", kPlotTop},
                          {"x2", allEqualX},
                          {"y2", plotBottom_},
                          {"stroke", kQuietTextColour},
                          {"stroke-dasharray", kDot}});
    guideLabel(
        apart ? rankSizeX - rankSizeWidth / 2.0 : rankSizeX - rankSizeWidth,
        kRankSizeLabel, kReferenceColour);
    guideLabel(apart ? allEqualX - allEqualWidth / 2.0 : allEqualX,
               kAllEqualLabel, kQuietTextColour);
    svg_.close();
  }

  static double textWidth(std::string_view text) {
    return characterCount(text) * kSmallCharacterWidth;
  }

  // The label starting at `left`, kept inside the picture.
  void guideLabel(double left, std::string_view text, std::string_view colour) {
    const double x = std::clamp(left, 4.0, width_ - 4.0 - textWidth(text));
    svg_.element("text",
                 {{"x", x},
                  {"y", kPlotTop - 6.0},
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
        bar(level, pixelOf(std::min(range.lower, range.upper)),
            pixelOf(std::max(range.lower, range.upper)), rowCentre(i));
      }
    }
    svg_.close();
    svg_.open("g", {{"id", "points"},
                    {"fill", kInkColour},
                    {"stroke", "#ffffff"},
                    {"stroke-width", "1"}});
    for (std::size_t i = 0; i < rows_.size(); ++i) {
      if (!whyNotDrawn(rows_[i])) point(pixelOf(rows_[i].a), rowCentre(i));
    }
    svg_.close();
    svg_.open(
        "g",
        {{"id", "row-labels"}, {"fill", kInkColour}, {"text-anchor", "end"}});
    for (std::size_t i = 0; i < rows_.size(); ++i) {
      svg_.element("text",
                   {{"x", plotLeft_ - kLabelGap}, {"y", rowCentre(i) + 4.0}},
                   shortened(rows_[i].label));
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
                     {{"x", plotLeft_ + 8.0}, {"y", rowCentre(i) + 4.0}}, *why);
      }
    }
    svg_.close();
  }

  std::vector<double> tickValues() const {
    std::vector<double> values;
    const long first = std::lround(scale_.lowest / scale_.step);
    const long last = std::lround(scale_.highest / scale_.step);
    for (long k = first; k <= last; ++k) values.push_back(k * scale_.step);
    return values;
  }

  // The value with the scale's decimals and a true minus sign, as printed.
  std::string tickLabel(double a) const {
    std::string text = fixedNumber(a, scale_.decimals);
    if (text.starts_with('-')) text.replace(0, 1, "\xE2\x88\x92");
    return text;
  }

  void drawAxis() {
    svg_.open("g", {{"id", "axis"},
                    {"stroke", kInkColour},
                    {"stroke-width", kFrameWidth}});
    svg_.element("rect", {{"x", plotLeft_},
                          {"y", kPlotTop},
                          {"width", kPlotWidth},
                          {"height", plotBottom_ - kPlotTop},
                          {"fill", "none"}});
    for (const double a : tickValues()) {
      verticalLine(pixelOf(a), plotBottom_, plotBottom_ + kTickLength);
    }
    svg_.close();
    svg_.open("g", {{"id", "axis-labels"},
                    {"fill", kInkColour},
                    {"text-anchor", "middle"}});
    for (const double a : tickValues()) {
      svg_.element("text", {{"x", pixelOf(a)}, {"y", plotBottom_ + 20.0}},
                   tickLabel(a));
    }
    svg_.element("text",
                 {{"x", plotLeft_ + kPlotWidth / 2.0},
                  {"y", plotBottom_ + 44.0},
                  {"font-size", kAxisNameFontSize}},
                 "A");
    svg_.close();
  }

  std::span<const ChartRow> rows_;
  AScale scale_;
  double plotLeft_;
  double plotBottom_;
  double width_;
  SvgWriter svg_;
  std::string_view title_;
};

}  // namespace

std::string drawComparisonChart(std::span<const ChartRow> rows,
                                std::string_view title) {
  return ChartWriter(rows, title).draw();
}

}  // namespace talvik
