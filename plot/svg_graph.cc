#include "plot/svg_graph.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>
#include <vector>

#include "plot/chart_style.h"
#include "plot/log_scale.h"
#include "plot/svg_writer.h"

namespace talvik {
namespace {

constexpr double kLegendLeft = 668.0;
constexpr double kLegendTop = 70.0;
constexpr double kLegendEntryHeight = 44.0;
constexpr double kSwatchLength = 28.0;
// Minor ticks (2 to 9 times a power of ten) only where a decade has room.
constexpr double kMinorTicksMinDecade = 40.0;
constexpr std::size_t kUncrowdedRanks = 100;
// The rank axis reaches this share of its span beyond the first and the last
// rank, so that no point sits on the frame.
constexpr double kRankMargin = 0.025;

// A decade as a label: plain digits from 0.0001 to 1000000, beyond that 10
// with the exponent raised.
struct DecadeLabel {
  std::string text;
  std::optional<std::string> raised;
};

DecadeLabel decadeLabel(int exponent) {
  if (exponent >= 0 && exponent <= 6) {
    std::string digits = "1";
    digits.append(exponent, '0');
    return {digits, std::nullopt};
  }
  if (exponent < 0 && exponent >= -4) {
    std::string digits = "0.";
    digits.append(-exponent - 1, '0');
    digits += '1';
    return {digits, std::nullopt};
  }
  return {"10", std::to_string(exponent)};
}

// The label of a tick: a power of ten as above, a multiple of one as its
// whole number (only ranks below 10 are labelled so).
DecadeLabel tickLabel(const LogTick& tick) {
  if (tick.multiple != 1) {
    return {std::to_string(tick.multiple) + std::string(tick.exponent, '0'),
            std::nullopt};
  }
  return decadeLabel(tick.exponent);
}

// From rank 1 to the last rank, with a margin; a single rank gets the room
// of two.
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

// "2 zero, 1 NaN" for the sizes of a column left out of the picture.
std::optional<std::string> leftOutNote(std::span<const PlottingRow> rows,
                                       SizeColumn column) {
  int zeros = 0;
  int overflows = 0;
  int notANumbers = 0;
  int infinities = 0;
  for (const PlottingRow& row : rows) {
    const PlottedSize& size = row.sizes[column];
    switch (size.reading) {
      case SizeReading::kNumber:
        if (size.value == 0.0) ++zeros;
        break;
      case SizeReading::kOverflow:
        ++overflows;
        break;
      case SizeReading::kNotANumber:
        ++notANumbers;
        break;
      case SizeReading::kInfinity:
        ++infinities;
        break;
    }
  }
  std::string note;
  const auto add = [&note](int count, std::string_view what) {
    if (count == 0) return;
    note += (note.empty() ? "" : ", ") + std::to_string(count) + " " +
            std::string(what);
  };
  add(zeros, "zero");
  add(overflows, "overflow (*)");
  add(notANumbers, "NaN");
  add(infinities, "INF");
  if (note.empty()) return std::nullopt;
  return std::string(kSizeColumnNames[column]) + ": " + note;
}

class GraphWriter {
 public:
  GraphWriter(std::span<const PlottingRow> rows, const GraphLabels& labels)
      : rows_(rows),
        labels_(labels),
        ranks_(rankRange(rows.size()), kAreaLeft, kAreaRight),
        sizes_(sizeRange(rows), kAreaBottom, kAreaTop),
        svg_(kGraphWidth, kGraphHeight, labels.title) {}

  std::string draw() {
    drawHeading();
    drawGrid();
    drawZone();
    drawReference();
    drawObserved();
    drawAxes();
    drawLegend();
    drawNote();
    return svg_.finish();
  }

 private:
  void segment(double x1, double y1, double x2, double y2) {
    svg_.element("line", {{"x1", x1}, {"y1", y1}, {"x2", x2}, {"y2", y2}});
  }

  void drawHeading() {
    svg_.element("text",
                 {{"x", kAreaLeft},
                  {"y", 32.0},
                  {"font-size", kTitleFontSize},
                  {"font-weight", "bold"}},
                 labels_.title);
    svg_.element("text",
                 {{"x", kAreaLeft}, {"y", 52.0}, {"fill", kQuietTextColour}},
                 std::to_string(rows_.size()) +
                     (rows_.size() == 1 ? " rank" : " ranks") +
                     ", both axes logarithmic (base 10)");
  }

  void drawGrid() {
    svg_.open("g", {{"id", "grid"},
                    {"stroke", kGridColour},
                    {"stroke-width", kFrameWidth}});
    for (const double x : insideDecades(ranks_)) {
      segment(x, kAreaTop, x, kAreaBottom);
    }
    for (const double y : insideDecades(sizes_)) {
      segment(kAreaLeft, y, kAreaRight, y);
    }
    svg_.close();
  }

  // The pixels of the powers of ten inside the frame, not on its edges.
  static std::vector<double> insideDecades(const LogAxis& axis) {
    std::vector<double> pixels;
    for (const LogTick& tick : axis.ticks(false)) {
      if (tick.exponent > axis.range().lowest &&
          tick.exponent < axis.range().highest) {
        pixels.push_back(axis.pixelOfLogarithm(tick.exponent));
      }
    }
    return pixels;
  }

  void drawZone() {
    std::vector<Point> outline;
    for (const PlottingRow& row : rows_) {
      if (auto point = pointOf(row, kSizeUp)) outline.push_back(*point);
    }
    for (auto row = rows_.rbegin(); row != rows_.rend(); ++row) {
      if (auto point = pointOf(*row, kSizeLo)) outline.push_back(*point);
    }
    if (outline.empty()) return;
    svg_.element("polygon", {{"id", "zone"},
                             {"points", pointList(outline)},
                             {"fill", kZoneFill},
                             {"stroke", kZoneBorder},
                             {"stroke-width", kFrameWidth},
                             {"stroke-linejoin", "round"}});
  }

  // Where a size stands, if it has a logarithm.
  std::optional<Point> pointOf(const PlottingRow& row,
                               SizeColumn column) const {
    const PlottedSize& size = row.sizes[column];
    if (!size.hasLogarithm()) return std::nullopt;
    return Point{ranks_.pixelOf(row.rank), sizes_.pixelOf(size.value)};
  }

  // The points of a column; a size without a logarithm ends a run, so that
  // no line is drawn across it.
  std::vector<std::vector<Point>> runsOf(SizeColumn column) const {
    std::vector<std::vector<Point>> runs(1);
    for (const PlottingRow& row : rows_) {
      if (auto point = pointOf(row, column)) {
        runs.back().push_back(*point);
      } else if (!runs.back().empty()) {
        runs.emplace_back();
      }
    }
    if (runs.back().empty()) runs.pop_back();
    return runs;
  }

  void drawReference() {
    svg_.open("g", {{"id", "reference"},
                    {"fill", "none"},
                    {"stroke", kReferenceColour},
                    {"stroke-width", kLineWidth},
                    {"stroke-dasharray", kDash}});
    for (const std::vector<Point>& run : runsOf(kLogNorm)) {
      svg_.element("polyline", {{"points", pointList(run)}});
    }
    svg_.close();
  }

  void drawObserved() {
    const std::vector<std::vector<Point>> runs = runsOf(kSetSize);
    svg_.open("g", {{"id", "observed-line"},
                    {"fill", "none"},
                    {"stroke", kInkColour},
                    {"stroke-width", kLineWidth},
                    {"stroke-linejoin", "round"}});
    for (const std::vector<Point>& run : runs) {
      svg_.element("polyline", {{"points", pointList(run)}});
    }
    svg_.close();
    // A white rim sets a few points apart; where many ranks crowd the line
    // it would wash the line out, so there the points are small and plain.
    const bool crowded = rows_.size() > kUncrowdedRanks;
    if (crowded) {
      svg_.open("g", {{"id", "observed-points"}, {"fill", kInkColour}});
    } else {
      svg_.open("g", {{"id", "observed-points"},
                      {"fill", kInkColour},
                      {"stroke", "#ffffff"},
                      {"stroke-width", "0.75"}});
    }
    const std::string_view radius = crowded ? "1.5" : "3";
    for (const std::vector<Point>& run : runs) {
      for (const Point& p : run) {
        svg_.element("circle", {{"cx", p.x}, {"cy", p.y}, {"r", radius}});
      }
    }
    svg_.close();
  }

  void drawAxes() {
    svg_.open("g", {{"id", "axes"},
                    {"stroke", kInkColour},
                    {"stroke-width", kFrameWidth}});
    svg_.element("rect", {{"x", kAreaLeft},
                          {"y", kAreaTop},
                          {"width", kAreaRight - kAreaLeft},
                          {"height", kAreaBottom - kAreaTop},
                          {"fill", "none"}});
    // The margin before rank 1 holds no rank to mark.
    std::vector<LogTick> rankTicks = ticksOf(ranks_);
    std::erase_if(rankTicks,
                  [](const LogTick& tick) { return tick.exponent < 0; });
    for (const LogTick& tick : rankTicks) {
      const double x = ranks_.pixelOfLogarithm(tick.logarithm());
      segment(x, kAreaBottom, x, kAreaBottom + tickLength(tick));
    }
    const std::vector<LogTick> sizeTicks = ticksOf(sizes_);
    for (const LogTick& tick : sizeTicks) {
      const double y = sizes_.pixelOfLogarithm(tick.logarithm());
      segment(kAreaLeft - tickLength(tick), y, kAreaLeft, y);
    }
    svg_.close();
    svg_.open("g", {{"id", "axis-labels"}, {"fill", kInkColour}});
    // Where fewer than two powers of ten lie on the rank axis, the ranks
    // between them are labelled too, or the scale could not be read.
    const bool labelMultiples = ranks_.ticks(false).size() < 2;
    for (const LogTick& tick : rankTicks) {
      if (tick.multiple != 1 && !labelMultiples) continue;
      label(ranks_.pixelOfLogarithm(tick.logarithm()), kAreaBottom + 20.0,
            "middle", tickLabel(tick));
    }
    for (const LogTick& tick : sizeTicks) {
      if (tick.multiple != 1) continue;
      label(kAreaLeft - 10.0, sizes_.pixelOfLogarithm(tick.exponent) + 4.0,
            "end", tickLabel(tick));
    }
    svg_.element("text",
                 {{"x", (kAreaLeft + kAreaRight) / 2.0},
                  {"y", kAreaBottom + 46.0},
                  {"text-anchor", "middle"},
                  {"font-size", kAxisNameFontSize}},
                 "Rank");
    const double middle = (kAreaTop + kAreaBottom) / 2.0;
    svg_.element(
        "text",
        {{"transform", "translate(24," + svgNumber(middle) + ") rotate(-90)"},
         {"text-anchor", "middle"},
         {"font-size", kAxisNameFontSize}},
        "Size");
    svg_.close();
  }

  void label(double x, double y, std::string_view anchor,
             const DecadeLabel& label) {
    if (label.raised) {
      svg_.raisedText({{"x", x}, {"y", y}, {"text-anchor", anchor}}, label.text,
                      *label.raised);
    } else {
      svg_.element("text", {{"x", x}, {"y", y}, {"text-anchor", anchor}},
                   label.text);
    }
  }

  // The ticks of an axis; the multiples 2 to 9 only where a decade has room.
  static std::vector<LogTick> ticksOf(const LogAxis& axis) {
    return axis.ticks(axis.decadeLength() >= kMinorTicksMinDecade);
  }

  static double tickLength(const LogTick& tick) {
    return tick.multiple == 1 ? kTickLength : kMinorTickLength;
  }

  static double swatchY(int index) {
    return kLegendTop + 22.0 + index * kLegendEntryHeight;
  }

  // The name and detail of a legend entry, beside its swatch.
  void legendText(int index, std::string_view name, std::string_view detail) {
    const double x = kLegendLeft + kSwatchLength + 10.0;
    svg_.element("text", {{"x", x}, {"y", swatchY(index) + 4.0}}, name);
    svg_.element("text",
                 {{"x", x},
                  {"y", swatchY(index) + 19.0},
                  {"font-size", kDetailFontSize},
                  {"fill", kQuietTextColour}},
                 detail);
  }

  // A horizontal stretch of line across the swatch of a legend entry.
  std::string swatchLine(int index) const {
    const Point ends[] = {{kLegendLeft, swatchY(index)},
                          {kLegendLeft + kSwatchLength, swatchY(index)}};
    return pointList(ends);
  }

  void drawLegend() {
    svg_.open("g", {{"id", "legend"}, {"fill", kInkColour}});
    svg_.element("polyline", {{"points", swatchLine(0)},
                              {"fill", "none"},
                              {"stroke", kInkColour},
                              {"stroke-width", kLineWidth}});
    svg_.element("circle", {{"cx", kLegendLeft + kSwatchLength / 2.0},
                            {"cy", swatchY(0)},
                            {"r", "3"},
                            {"stroke", "#ffffff"},
                            {"stroke-width", "0.75"}});
    legendText(0, "Observed sizes", "SETSIZE");
    svg_.element("polyline", {{"points", swatchLine(1)},
                              {"fill", "none"},
                              {"stroke", kReferenceColour},
                              {"stroke-width", kLineWidth},
                              {"stroke-dasharray", kDash}});
    legendText(1, "Reference line", "LOGNORM: largest / rank");
    svg_.element("rect", {{"x", kLegendLeft},
                          {"y", swatchY(2) - 7.0},
                          {"width", kSwatchLength},
                          {"height", 14.0},
                          {"fill", kZoneFill},
                          {"stroke", kZoneBorder}});
    legendText(2,
               labels_.level
                   ? std::to_string(*labels_.level) + " % confidence zone"
                   : "Confidence zone",
               "from SIZEUP to SIZELO");
    if (labels_.observedA) {
      const double a = *labels_.observedA;
      legendText(3,
                 std::isfinite(a) ? "A = " + fixedNumber(a, 3)
                                  : std::string("A not finite"),
                 "of the observed sizes");
    }
    svg_.close();
  }

  void drawNote() {
    std::vector<std::string> notes;
    for (std::size_t column = 0; column < kSizeColumnCount; ++column) {
      if (auto note = leftOutNote(rows_, static_cast<SizeColumn>(column))) {
        notes.push_back(std::move(*note));
      }
    }
    if (notes.empty()) return;
    const int entries = labels_.observedA ? 4 : 3;
    double y = kLegendTop + entries * kLegendEntryHeight + 30.0;
    svg_.open("g", {{"id", "left-out"},
                    {"font-size", kDetailFontSize},
                    {"fill", kQuietTextColour}});
    svg_.element("text",
                 {{"x", kLegendLeft}, {"y", y}, {"font-weight", "bold"}},
                 "Not drawn (no logarithm):");
    for (const std::string& note : notes) {
      y += 16.0;
      svg_.element("text", {{"x", kLegendLeft}, {"y", y}}, note);
    }
    svg_.close();
  }

  std::span<const PlottingRow> rows_;
  const GraphLabels& labels_;
  LogAxis ranks_;
  LogAxis sizes_;
  SvgWriter svg_;
};

}  // namespace

std::string drawRankSizeGraph(std::span<const PlottingRow> rows,
                              const GraphLabels& labels) {
  return GraphWriter(rows, labels).draw();
}

}  // namespace talvik
