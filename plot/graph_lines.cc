#include "plot/graph_lines.h"

#include <algorithm>
#include <optional>
#include <string_view>
#include <vector>

#include "plot/chart_style.h"

namespace talvik {
namespace {

constexpr std::size_t kUncrowdedRanks = 100;

class LineWriter {
 public:
  LineWriter(SvgWriter& svg, std::span<const PlottingRow> rows,
             const GraphAxes& axes)
      : svg_(svg), rows_(rows), axes_(axes) {}

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

 private:
  // Where a size stands, if it has a logarithm.
  std::optional<Point> pointOf(const PlottingRow& row,
                               SizeColumn column) const {
    const PlottedSize& size = row.sizes[column];
    if (!size.hasLogarithm()) return std::nullopt;
    return Point{axes_.ranks.pixelOf(row.rank),
                 axes_.sizes.pixelOf(size.value)};
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

  SvgWriter& svg_;
  std::span<const PlottingRow> rows_;
  const GraphAxes& axes_;
};

}  // namespace

bool zoneHasWidth(std::span<const PlottingRow> rows) {
  return std::any_of(rows.begin(), rows.end(), [](const PlottingRow& row) {
    const PlottedSize& up = row.sizes[kSizeUp];
    const PlottedSize& lo = row.sizes[kSizeLo];
    if (up.hasLogarithm() != lo.hasLogarithm()) return true;
    return up.hasLogarithm() && up.value != lo.value;
  });
}

void drawGraphLines(SvgWriter& svg, std::span<const PlottingRow> rows,
                    const GraphAxes& axes, bool withZone) {
  LineWriter lines(svg, rows, axes);
  if (withZone) lines.drawZone();
  lines.drawReference();
  lines.drawObserved();
}

}  // namespace talvik
