#include "plot/graph_legend.h"

#include <cmath>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "plot/chart_style.h"

namespace talvik {
namespace {

constexpr double kLegendLeft = 668.0;
constexpr double kLegendTop = 70.0;
constexpr double kLegendEntryHeight = 44.0;
constexpr double kSwatchLength = 28.0;

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

double swatchY(int index) {
  return kLegendTop + 22.0 + index * kLegendEntryHeight;
}

// A horizontal stretch of line across the swatch of a legend entry.
std::string swatchLine(int index) {
  const Point ends[] = {{kLegendLeft, swatchY(index)},
                        {kLegendLeft + kSwatchLength, swatchY(index)}};
  return pointList(ends);
}

// The name and detail of a legend entry, beside its swatch.
void legendText(SvgWriter& svg, int index, std::string_view name,
                std::string_view detail) {
  const double x = kLegendLeft + kSwatchLength + 10.0;
  svg.element("text", {{"x", x}, {"y", swatchY(index) + 4.0}}, name);
  svg.element("text",
              {{"x", x},
               {"y", swatchY(index) + 19.0},
               {"font-size", kDetailFontSize},
               {"fill", kQuietTextColour}},
              detail);
}

std::string zoneName(std::optional<int> level) {
  return level ? std::to_string(*level) + " % confidence zone"
               : std::string("Confidence zone");
}

// Draws the entries; gives their number.
int drawEntries(SvgWriter& svg, const LegendContents& contents) {
  svg.open("g", {{"id", "legend"}, {"fill", kInkColour}});
  svg.element("polyline", {{"points", swatchLine(0)},
                           {"fill", "none"},
                           {"stroke", kInkColour},
                           {"stroke-width", kLineWidth}});
  svg.element("circle", {{"cx", kLegendLeft + kSwatchLength / 2.0},
                         {"cy", swatchY(0)},
                         {"r", "3"},
                         {"stroke", "#ffffff"},
                         {"stroke-width", "0.75"}});
  legendText(svg, 0, "Observed sizes", "SETSIZE");
  svg.element("polyline", {{"points", swatchLine(1)},
                           {"fill", "none"},
                           {"stroke", kReferenceColour},
                           {"stroke-width", kLineWidth},
                           {"stroke-dasharray", kDash}});
  legendText(svg, 1, "Reference line", "LOGNORM: largest / rank");
  int entries = 2;
  if (contents.zoneDrawn) {
    svg.element("rect", {{"x", kLegendLeft},
                         {"y", swatchY(entries) - 7.0},
                         {"width", kSwatchLength},
                         {"height", 14.0},
                         {"fill", kZoneFill},
                         {"stroke", kZoneBorder}});
    legendText(svg, entries, zoneName(contents.level), "from SIZEUP to SIZELO");
    ++entries;
  }
  if (contents.observedA) {
    const double a = *contents.observedA;
    legendText(svg, entries,
               std::isfinite(a) ? "A = " + fixedNumber(a, 3)
                                : std::string("A not finite"),
               "of the observed sizes");
    ++entries;
  }
  svg.close();
  return entries;
}

// Why the zone is missing, below the last of `entries` legend entries; gives
// the baseline of its last line.
double drawNoZoneNote(SvgWriter& svg, std::optional<int> level, int entries) {
  const double y = kLegendTop + entries * kLegendEntryHeight + 30.0;
  svg.open("g", {{"id", "no-zone"},
                 {"font-size", kDetailFontSize},
                 {"fill", kQuietTextColour}});
  svg.element("text", {{"x", kLegendLeft}, {"y", y}, {"font-weight", "bold"}},
              level ? "No " + std::to_string(*level) + " % confidence zone:"
                    : std::string("No confidence zone:"));
  svg.element("text", {{"x", kLegendLeft}, {"y", y + 16.0}},
              "SIZEUP = SIZELO at every rank");
  svg.close();
  return y + 16.0;
}

// The note's first line goes at `y`.
void drawLeftOutNote(SvgWriter& svg, std::span<const PlottingRow> rows,
                     double y) {
  std::vector<std::string> notes;
  for (std::size_t column = 0; column < kSizeColumnCount; ++column) {
    if (auto note = leftOutNote(rows, static_cast<SizeColumn>(column))) {
      notes.push_back(std::move(*note));
    }
  }
  if (notes.empty()) return;
  svg.open("g", {{"id", "left-out"},
                 {"font-size", kDetailFontSize},
                 {"fill", kQuietTextColour}});
  svg.element("text", {{"x", kLegendLeft}, {"y", y}, {"font-weight", "bold"}},
              "Not drawn (no logarithm):");
  for (const std::string& note : notes) {
    y += 16.0;
    svg.element("text", {{"x", kLegendLeft}, {"y", y}}, note);
  }
  svg.close();
}

}  // namespace

void drawGraphLegend(SvgWriter& svg, std::span<const PlottingRow> rows,
                     const LegendContents& contents) {
  const int entries = drawEntries(svg, contents);
  double y = kLegendTop + entries * kLegendEntryHeight + 30.0;
  if (!contents.zoneDrawn) {
    y = drawNoZoneNote(svg, contents.level, entries) + 28.0;
  }
  drawLeftOutNote(svg, rows, y);
}

}  // namespace talvik
