#include "plot/chart_layout.h"

#include <algorithm>
#include <cmath>

#include "plot/chart_labels.h"
#include "plot/svg_writer.h"

namespace talvik {
namespace {

constexpr double kRightMargin = 50.0;  // room for a guide label at the edge
constexpr double kRowHeight = 24.0;
constexpr double kRowPadding = 6.0;
constexpr double kBelowPlot = 60.0;  // the ticks, their labels and "A"
// Rough widths of one character in the shared font, to make room for text.
constexpr double kTitleCharacterWidth = 11.0;  // 18 px bold
constexpr double kSmallCharacterWidth = 6.2;   // 10.5 px
constexpr std::size_t kMinLabelCharacters = 12;
constexpr double kNoteHeight = 22.0;
constexpr double kLargestDrawn = 1e6;
constexpr int kMostTickSteps = 8;

double labelColumnWidth(std::span<const std::string> labels) {
  std::size_t characters = kMinLabelCharacters;
  for (const std::string& label : labels) {
    characters = std::max(characters, characterCount(label));
  }
  return characters * kChartTextCharacterWidth;
}

double placesColumnWidth(std::span<const ChartRow> rows) {
  std::size_t characters = 0;
  for (const ChartRow& row : rows) {
    characters = std::max(characters, characterCount(placesText(row)));
  }
  return characters * kChartTextCharacterWidth;
}

}  // namespace

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

double detailTextWidth(std::string_view text) {
  return characterCount(text) * kSmallCharacterWidth;
}

std::string placesText(const ChartRow& row) {
  return "n = " + std::to_string(row.places);
}

ChartLayout::ChartLayout(std::span<const ChartRow> rows,
                         std::span<const std::string> labels,
                         std::string_view title, bool withNote,
                         std::array<double, 2> inView)
    : scale_(scaleFor(rows, inView)),
      hasNote_(withNote),
      labelsRight_(kChartMargin + labelColumnWidth(labels)),
      plotLeft_(labelsRight_ + kChartLabelGap + placesColumnWidth(rows) +
                kChartLabelGap),
      plotBottom_(kChartPlotTop + rows.size() * kRowHeight + 2 * kRowPadding),
      width_(std::max(
          plotLeft_ + kChartPlotWidth + kRightMargin,
          2 * kChartMargin + characterCount(title) * kTitleCharacterWidth)) {}

int ChartLayout::pictureWidth() const {
  return static_cast<int>(std::ceil(width_));
}

int ChartLayout::pictureHeight() const {
  return static_cast<int>(plotBottom_ + kBelowPlot +
                          (hasNote_ ? kNoteHeight : 0.0));
}

double ChartLayout::noteBaseline() const {
  return plotBottom_ + kBelowPlot + 6.0;
}

double ChartLayout::pixelOf(double a) const {
  return plotLeft_ + (a - scale_.lowest) / (scale_.highest - scale_.lowest) *
                         kChartPlotWidth;
}

double ChartLayout::rowCentre(std::size_t index) const {
  return kChartPlotTop + kRowPadding + (index + 0.5) * kRowHeight;
}

std::vector<double> ChartLayout::tickValues() const {
  std::vector<double> values;
  const long first = std::lround(scale_.lowest / scale_.step);
  const long last = std::lround(scale_.highest / scale_.step);
  for (long k = first; k <= last; ++k) values.push_back(k * scale_.step);
  return values;
}

std::string ChartLayout::tickLabel(double a) const {
  std::string text = fixedNumber(a, scale_.decimals);
  if (text.starts_with('-')) text.replace(0, 1, "\xE2\x88\x92");
  return text;
}

ChartLayout::AScale ChartLayout::scaleFor(std::span<const ChartRow> rows,
                                          std::array<double, 2> inView) {
  double smallest = inView[0];
  double largest = inView[1];
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
  if (std::abs(scale.lowest - inView[0]) < nearness) {
    scale.lowest = inView[0] - scale.step;
  }
  if (std::abs(scale.highest - inView[1]) < nearness) {
    scale.highest = inView[1] + scale.step;
  }
  return scale;
}

}  // namespace talvik
