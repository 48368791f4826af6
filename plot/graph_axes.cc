#include "plot/graph_axes.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "plot/chart_style.h"
#include "plot/graph_area.h"

namespace talvik {
namespace {

// Minor ticks (2 to 9 times a power of ten) only where a decade has room.
constexpr double kMinorTicksMinDecade = 40.0;
// The rank axis reaches this share of its span beyond the first and the last
// rank, so that no point sits on the frame.
constexpr double kRankMargin = 0.025;

// A tick as a label: plain digits, or 10 with the exponent raised.
struct TickLabel {
  std::string text;
  std::optional<std::string> raised;
};

// The decades that plain digits show without growing too long: 0.0001 to
// 1000000.
constexpr int kLowestPlainExponent = -4;
constexpr int kHighestPlainExponent = 6;

// Every label of an axis is written one way: in plain digits when all of
// them fit, else all as powers of ten, so that 1000000 never stands next to
// 10 with a raised 7.
bool allPlain(const std::vector<LogTick>& labelled) {
  return std::all_of(labelled.begin(), labelled.end(), [](const LogTick& tick) {
    return tick.exponent >= kLowestPlainExponent &&
           tick.exponent <= kHighestPlainExponent;
  });
}

// A multiple other than one is only labelled on the rank axis below rank
// 10, in plain digits.
TickLabel tickLabel(const LogTick& tick, bool plain) {
  if (tick.multiple != 1) {
    return {std::to_string(tick.multiple) + std::string(tick.exponent, '0'),
            std::nullopt};
  }
  if (!plain) return {"10", std::to_string(tick.exponent)};
  std::string digits;
  if (tick.exponent >= 0) {
    digits = "1";
    digits.append(tick.exponent, '0');
  } else {
    digits = "0.";
    digits.append(-tick.exponent - 1, '0');
    digits += '1';
  }
  return {digits, std::nullopt};
}

LogRange rankRange(std::size_t lastRank) {
  const double span =
      std::max(std::log10(static_cast<double>(lastRank)), std::log10(2.0));
  return {-kRankMargin * span, span + kRankMargin * span};
}

LogRange sizeRange(std::span<const PlottingRow> rows) {
  double smallest = std::numeric_limits<double>::infinity();
  double largest = 0.0;
  for (const PlottingRow& row : rows) {
    for (const PlottedSize& size : row.sizes) {
      if (!size.hasLogarithm()) continue;
      smallest = std::min(smallest, size.value);
      largest = std::max(largest, size.value);
    }
  }
  // Without any size to place, the axis shows 1 to 10.
  if (largest == 0.0) return {0.0, 1.0};
  const DecadeRange decades = decadesAround(smallest, largest);
  return {static_cast<double>(decades.lowest),
          static_cast<double>(decades.highest)};
}

// The pixels of the powers of ten inside the frame, not on its edges.
std::vector<double> insideDecades(const LogAxis& axis) {
  std::vector<double> pixels;
  for (const LogTick& tick : axis.ticks(false)) {
    if (tick.exponent > axis.range().lowest &&
        tick.exponent < axis.range().highest) {
      pixels.push_back(axis.pixelOfLogarithm(tick.exponent));
    }
  }
  return pixels;
}

// The ticks of an axis; the multiples 2 to 9 only where a decade has room.
std::vector<LogTick> ticksOf(const LogAxis& axis) {
  return axis.ticks(axis.decadeLength() >= kMinorTicksMinDecade);
}

double tickLength(const LogTick& tick) {
  return tick.multiple == 1 ? kTickLength : kMinorTickLength;
}

void segment(SvgWriter& svg, double x1, double y1, double x2, double y2) {
  svg.element("line", {{"x1", x1}, {"y1", y1}, {"x2", x2}, {"y2", y2}});
}

void label(SvgWriter& svg, double x, double y, std::string_view anchor,
           const TickLabel& label) {
  if (label.raised) {
    svg.raisedText({{"x", x}, {"y", y}, {"text-anchor", anchor}}, label.text,
                   *label.raised);
  } else {
    svg.element("text", {{"x", x}, {"y", y}, {"text-anchor", anchor}},
                label.text);
  }
}

}  // namespace

GraphAxes graphAxesFor(std::span<const PlottingRow> rows) {
  return {LogAxis(rankRange(rows.size()), kAreaLeft, kAreaRight),
          LogAxis(sizeRange(rows), kAreaBottom, kAreaTop)};
}

void drawGraphGrid(SvgWriter& svg, const GraphAxes& axes) {
  svg.open(
      "g",
      {{"id", "grid"}, {"stroke", kGridColour}, {"stroke-width", kFrameWidth}});
  for (const double x : insideDecades(axes.ranks)) {
    segment(svg, x, kAreaTop, x, kAreaBottom);
  }
  for (const double y : insideDecades(axes.sizes)) {
    segment(svg, kAreaLeft, y, kAreaRight, y);
  }
  svg.close();
}

void drawGraphAxes(SvgWriter& svg, const GraphAxes& axes,
                   std::string_view unit) {
  svg.open(
      "g",
      {{"id", "axes"}, {"stroke", kInkColour}, {"stroke-width", kFrameWidth}});
  svg.element("rect", {{"x", kAreaLeft},
                       {"y", kAreaTop},
                       {"width", kAreaRight - kAreaLeft},
                       {"height", kAreaBottom - kAreaTop},
                       {"fill", "none"}});
  // The margin before rank 1 holds no rank to mark.
  std::vector<LogTick> rankTicks = ticksOf(axes.ranks);
  std::erase_if(rankTicks,
                [](const LogTick& tick) { return tick.exponent < 0; });
  for (const LogTick& tick : rankTicks) {
    const double x = axes.ranks.pixelOfLogarithm(tick.logarithm());
    segment(svg, x, kAreaBottom, x, kAreaBottom + tickLength(tick));
  }
  const std::vector<LogTick> sizeTicks = ticksOf(axes.sizes);
  for (const LogTick& tick : sizeTicks) {
    const double y = axes.sizes.pixelOfLogarithm(tick.logarithm());
    segment(svg, kAreaLeft - tickLength(tick), y, kAreaLeft, y);
  }
  svg.close();
  svg.open("g", {{"id", "axis-labels"}, {"fill", kInkColour}});
  // Where fewer than two powers of ten lie on the rank axis, the ranks
  // between them are labelled too, or the scale could not be read.
  const bool labelMultiples = axes.ranks.ticks(false).size() < 2;
  std::erase_if(rankTicks, [labelMultiples](const LogTick& tick) {
    return tick.multiple != 1 && !labelMultiples;
  });
  const bool plainRanks = allPlain(rankTicks);
  for (const LogTick& tick : rankTicks) {
    label(svg, axes.ranks.pixelOfLogarithm(tick.logarithm()),
          kAreaBottom + 20.0, "middle", tickLabel(tick, plainRanks));
  }
  std::vector<LogTick> sizeDecades = sizeTicks;
  std::erase_if(sizeDecades,
                [](const LogTick& tick) { return tick.multiple != 1; });
  const bool plainSizes = allPlain(sizeDecades);
  for (const LogTick& tick : sizeDecades) {
    label(svg, kAreaLeft - 10.0,
          axes.sizes.pixelOfLogarithm(tick.exponent) + 4.0, "end",
          tickLabel(tick, plainSizes));
  }
  svg.element("text",
              {{"x", (kAreaLeft + kAreaRight) / 2.0},
               {"y", kAreaBottom + 46.0},
               {"text-anchor", "middle"},
               {"font-size", kAxisNameFontSize}},
              "Rank");
  const double middle = (kAreaTop + kAreaBottom) / 2.0;
  svg.element(
      "text",
      {{"transform", "translate(24," + svgNumber(middle) + ") rotate(-90)"},
       {"text-anchor", "middle"},
       {"font-size", kAxisNameFontSize}},
      unit.empty() ? std::string("Size") : "Size (" + std::string(unit) + ")");
  svg.close();
}

}  // namespace talvik
