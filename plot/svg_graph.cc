#include "plot/svg_graph.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <limits>
#include <optional>
#include <vector>

#include "plot/log_scale.h"
#include "plot/xml_text.h"

namespace talvik {
namespace {

constexpr std::string_view kFontFamily =
    "DejaVu Sans, Liberation Sans, Arial, Helvetica, sans-serif";
constexpr std::string_view kInkColour = "#1a1a1a";
constexpr std::string_view kReferenceColour = "#b2182b";
constexpr std::string_view kZoneFill = "#c6dbef";
constexpr std::string_view kZoneBorder = "#4a7ab5";
constexpr std::string_view kGridColour = "#e3e3e3";
constexpr std::string_view kQuietTextColour = "#555555";
constexpr std::string_view kDash = "7 4";
constexpr double kTickLength = 6.0;
constexpr double kMinorTickLength = 3.0;
// Minor ticks (2 to 9 times a power of ten) only where a decade has room.
constexpr double kMinorTicksMinDecade = 40.0;
constexpr double kLegendLeft = 668.0;
constexpr double kLegendTop = 70.0;
constexpr double kLegendEntryHeight = 44.0;
constexpr double kSwatchLength = 28.0;
constexpr std::size_t kUncrowdedRanks = 100;

// A coordinate with 2 decimals, so that the same input gives the same bytes.
std::string coordinate(double value) {
  std::array<char, 32> buffer;
  const auto result =
      std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                    std::chars_format::fixed, 2);
  std::string text(buffer.data(), result.ptr);
  return text == "-0.00" ? "0.00" : text;
}

struct Point {
  double x;
  double y;
};

std::string pointList(std::span<const Point> points) {
  std::string list;
  for (const Point& p : points) {
    if (!list.empty()) list += ' ';
    list += coordinate(p.x) + "," + coordinate(p.y);
  }
  return list;
}

// A decade as a label: plain digits from 0.0001 to 1000000, beyond that 10
// with the exponent raised.
std::string decadeLabel(int exponent) {
  if (exponent >= 0 && exponent <= 6) return "1" + std::string(exponent, '0');
  if (exponent < 0 && exponent >= -4) {
    return "0." + std::string(-exponent - 1, '0') + "1";
  }
  return "10<tspan dy=\"-6\" font-size=\"9\">" + std::to_string(exponent) +
         "</tspan>";
}

DecadeRange sizeDecades(std::span<const PlottingRow> rows) {
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
  if (largest == 0.0) return {0, 1};
  return decadesAround(smallest, largest);
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
  GraphWriter(std::span<const PlottingRow> rows, std::string_view fileName)
      : rows_(rows),
        fileName_(escapeXml(fileName)),
        ranks_(decadesAround(1.0, static_cast<double>(rows.size())), kAreaLeft,
               kAreaRight),
        sizes_(sizeDecades(rows), kAreaBottom, kAreaTop) {}

  std::string draw() {
    const std::string width = std::to_string(kGraphWidth);
    const std::string height = std::to_string(kGraphHeight);
    line("<?xml version=\"1.0\" encoding=\"UTF-8\"?>");
    line("<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" + width +
         "\" height=\"" + height + "\" viewBox=\"0 0 " + width + " " + height +
         "\" font-family=\"" + std::string(kFontFamily) +
         "\" font-size=\"12\">");
    line("<title>Rank-size graph of " + fileName_ + "</title>");
    line("<rect width=\"" + width + "\" height=\"" + height +
         "\" fill=\"#ffffff\"/>");
    drawHeading();
    drawGrid();
    drawZone();
    drawReference();
    drawObserved();
    drawAxes();
    drawLegend();
    drawNote();
    line("</svg>");
    return std::move(svg_);
  }

 private:
  void line(std::string_view text) {
    svg_ += text;
    svg_ += '\n';
  }

  void text(double x, double y, std::string_view attributes,
            std::string_view content) {
    line("<text x=\"" + coordinate(x) + "\" y=\"" + coordinate(y) + "\"" +
         std::string(attributes) + ">" + std::string(content) + "</text>");
  }

  void segment(double x1, double y1, double x2, double y2) {
    line("<line x1=\"" + coordinate(x1) + "\" y1=\"" + coordinate(y1) +
         "\" x2=\"" + coordinate(x2) + "\" y2=\"" + coordinate(y2) + "\"/>");
  }

  void drawHeading() {
    text(kAreaLeft, 32.0, " font-size=\"18\" font-weight=\"bold\"",
         "Rank-size graph of " + fileName_);
    text(kAreaLeft, 52.0, " fill=\"" + std::string(kQuietTextColour) + "\"",
         std::to_string(rows_.size()) +
             (rows_.size() == 1 ? " rank" : " ranks") +
             ", both axes logarithmic (base 10)");
  }

  void drawGrid() {
    line("<g id=\"grid\" stroke=\"" + std::string(kGridColour) +
         "\" stroke-width=\"1\">");
    const DecadeRange& rankDecades = ranks_.decades();
    for (int k = rankDecades.lowest + 1; k < rankDecades.highest; ++k) {
      const double x = ranks_.pixelOfLogarithm(k);
      segment(x, kAreaTop, x, kAreaBottom);
    }
    const DecadeRange& sizeDecades = sizes_.decades();
    for (int k = sizeDecades.lowest + 1; k < sizeDecades.highest; ++k) {
      const double y = sizes_.pixelOfLogarithm(k);
      segment(kAreaLeft, y, kAreaRight, y);
    }
    line("</g>");
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
    line("<polygon id=\"zone\" points=\"" + pointList(outline) + "\" fill=\"" +
         std::string(kZoneFill) + "\" stroke=\"" + std::string(kZoneBorder) +
         "\" stroke-width=\"1\" stroke-linejoin=\"round\"/>");
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
    line("<g id=\"reference\" fill=\"none\" stroke=\"" +
         std::string(kReferenceColour) + "\" stroke-width=\"1.5\"" +
         " stroke-dasharray=\"" + std::string(kDash) + "\">");
    for (const std::vector<Point>& run : runsOf(kLogNorm)) {
      line("<polyline points=\"" + pointList(run) + "\"/>");
    }
    line("</g>");
  }

  void drawObserved() {
    const std::vector<std::vector<Point>> runs = runsOf(kSetSize);
    line("<g id=\"observed-line\" fill=\"none\" stroke=\"" +
         std::string(kInkColour) + "\" stroke-width=\"1.5\"" +
         " stroke-linejoin=\"round\">");
    for (const std::vector<Point>& run : runs) {
      line("<polyline points=\"" + pointList(run) + "\"/>");
    }
    line("</g>");
    // A white rim sets a few points apart; where many ranks crowd the line
    // it would wash the line out, so there the points are small and plain.
    const bool crowded = rows_.size() > kUncrowdedRanks;
    const std::string radius = crowded ? "1.5" : "3";
    line("<g id=\"observed-points\" fill=\"" + std::string(kInkColour) +
         (crowded ? "\">" : "\" stroke=\"#ffffff\" stroke-width=\"0.75\">"));
    for (const std::vector<Point>& run : runs) {
      for (const Point& p : run) {
        line("<circle cx=\"" + coordinate(p.x) + "\" cy=\"" + coordinate(p.y) +
             "\" r=\"" + radius + "\"/>");
      }
    }
    line("</g>");
  }

  void drawAxes() {
    line("<g id=\"axes\" stroke=\"" + std::string(kInkColour) +
         "\" stroke-width=\"1\">");
    line("<rect x=\"" + coordinate(kAreaLeft) + "\" y=\"" +
         coordinate(kAreaTop) + "\" width=\"" +
         coordinate(kAreaRight - kAreaLeft) + "\" height=\"" +
         coordinate(kAreaBottom - kAreaTop) + "\" fill=\"none\"/>");
    forEachTick(ranks_, [&](double x, double length) {
      segment(x, kAreaBottom, x, kAreaBottom + length);
    });
    forEachTick(sizes_, [&](double y, double length) {
      segment(kAreaLeft - length, y, kAreaLeft, y);
    });
    line("</g>");
    line("<g id=\"axis-labels\" fill=\"" + std::string(kInkColour) + "\">");
    const DecadeRange& rankDecades = ranks_.decades();
    for (int k = rankDecades.lowest; k <= rankDecades.highest; ++k) {
      text(ranks_.pixelOfLogarithm(k), kAreaBottom + 20.0,
           " text-anchor=\"middle\"", decadeLabel(k));
    }
    const DecadeRange& sizeDecades = sizes_.decades();
    for (int k = sizeDecades.lowest; k <= sizeDecades.highest; ++k) {
      text(kAreaLeft - 10.0, sizes_.pixelOfLogarithm(k) + 4.0,
           " text-anchor=\"end\"", decadeLabel(k));
    }
    text((kAreaLeft + kAreaRight) / 2.0, kAreaBottom + 46.0,
         " text-anchor=\"middle\" font-size=\"13\"", "Rank");
    const double middle = (kAreaTop + kAreaBottom) / 2.0;
    line("<text transform=\"translate(24," + coordinate(middle) +
         ") rotate(-90)\" text-anchor=\"middle\" font-size=\"13\">Size</text>");
    line("</g>");
  }

  // Calls draw(pixel, length) for each decade tick and, where a decade has
  // room, for the minor ticks at 2 to 9 times each power of ten.
  template <typename Draw>
  static void forEachTick(const LogAxis& axis, Draw draw) {
    const DecadeRange& decades = axis.decades();
    const bool minor = axis.decadeLength() >= kMinorTicksMinDecade;
    for (int k = decades.lowest; k <= decades.highest; ++k) {
      draw(axis.pixelOfLogarithm(k), kTickLength);
      if (!minor || k == decades.highest) continue;
      for (int m = 2; m <= 9; ++m) {
        draw(axis.pixelOfLogarithm(k + std::log10(m)), kMinorTickLength);
      }
    }
  }

  void legendEntry(int index, std::string_view swatch, std::string_view name,
                   std::string_view detail) {
    const double y = kLegendTop + 22.0 + index * kLegendEntryHeight;
    line(swatch);
    text(kLegendLeft + kSwatchLength + 10.0, y + 4.0, "", name);
    text(kLegendLeft + kSwatchLength + 10.0, y + 19.0,
         " font-size=\"10.5\" fill=\"" + std::string(kQuietTextColour) + "\"",
         detail);
  }

  void drawLegend() {
    const auto swatchY = [](int index) {
      return coordinate(kLegendTop + 22.0 + index * kLegendEntryHeight);
    };
    const std::string left = coordinate(kLegendLeft);
    const std::string right = coordinate(kLegendLeft + kSwatchLength);
    line("<g id=\"legend\" fill=\"" + std::string(kInkColour) + "\">");
    legendEntry(0,
                "<polyline points=\"" + left + "," + swatchY(0) + " " + right +
                    "," + swatchY(0) + "\" fill=\"none\" stroke=\"" +
                    std::string(kInkColour) + "\" stroke-width=\"1.5\"/>\n" +
                    "<circle cx=\"" +
                    coordinate(kLegendLeft + kSwatchLength / 2.0) + "\" cy=\"" +
                    swatchY(0) + "\" r=\"3\" stroke=\"#ffffff\"" +
                    " stroke-width=\"0.75\"/>",
                "Observed sizes", "SETSIZE");
    legendEntry(1,
                "<polyline points=\"" + left + "," + swatchY(1) + " " + right +
                    "," + swatchY(1) + "\" fill=\"none\" stroke=\"" +
                    std::string(kReferenceColour) + "\" stroke-width=\"1.5\"" +
                    " stroke-dasharray=\"" + std::string(kDash) + "\"/>",
                "Reference line", "LOGNORM: largest / rank");
    legendEntry(2,
                "<rect x=\"" + left + "\" y=\"" +
                    coordinate(kLegendTop + 15.0 + 2 * kLegendEntryHeight) +
                    "\" width=\"" + coordinate(kSwatchLength) +
                    "\" height=\"14.00\" fill=\"" + std::string(kZoneFill) +
                    "\" stroke=\"" + std::string(kZoneBorder) + "\"/>",
                "Confidence zone", "from SIZEUP to SIZELO");
    line("</g>");
  }

  void drawNote() {
    std::vector<std::string> notes;
    for (std::size_t column = 0; column < kSizeColumnCount; ++column) {
      if (auto note = leftOutNote(rows_, static_cast<SizeColumn>(column))) {
        notes.push_back(std::move(*note));
      }
    }
    if (notes.empty()) return;
    double y = kLegendTop + 3 * kLegendEntryHeight + 30.0;
    line("<g id=\"left-out\" font-size=\"10.5\" fill=\"" +
         std::string(kQuietTextColour) + "\">");
    text(kLegendLeft, y, " font-weight=\"bold\"", "Not drawn (no logarithm):");
    for (const std::string& note : notes) {
      y += 16.0;
      text(kLegendLeft, y, "", note);
    }
    line("</g>");
  }

  std::span<const PlottingRow> rows_;
  std::string fileName_;  // escaped for XML
  LogAxis ranks_;
  LogAxis sizes_;
  std::string svg_;
};

}  // namespace

std::string drawRankSizeGraph(std::span<const PlottingRow> rows,
                              std::string_view fileName) {
  return GraphWriter(rows, fileName).draw();
}

}  // namespace talvik
