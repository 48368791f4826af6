#ifndef TALVIK_PLOT_CHART_LAYOUT_H_
#define TALVIK_PLOT_CHART_LAYOUT_H_

#include <array>
#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "plot/chart_row.h"

namespace talvik {

// The fixed places of a comparison chart: the margin of the title and the
// labels, the gap between the labels and the plot, and the plot's width and
// top.
inline constexpr double kChartMargin = 20.0;
inline constexpr double kChartLabelGap = 10.0;
inline constexpr double kChartPlotWidth = 480.0;
inline constexpr double kChartPlotTop = 120.0;
// The rough width of one character of the labels and notes (12 px), to make
// room for them.
inline constexpr double kChartTextCharacterWidth = 7.0;

// Why a row has no bars, if it has none: its A or a range is not finite, or
// beyond a million, which would squash every other row into one pixel.
std::optional<std::string_view> whyNotDrawn(const ChartRow& row);

// The rough width in pixels of a text in the detail font.
double detailTextWidth(std::string_view text);

// A row's count of places as the chart shows it: "n = 37".
std::string placesText(const ChartRow& row);

// Where the rows, the A axis and the picture's edges fall for these rows,
// their shown labels and this title: the label column as wide as the
// longest shown label, then a column for the counts of places, one row
// height per row, an A axis of round steps from below the smallest to above
// the largest number drawn, the two `inView` values (0 and 1, the guides of
// A) always in view and neither on the frame, and, `withNote`, a line for a
// note below the axis.
class ChartLayout {
 public:
  // The values an axis of A keeps in view: the rank-size line and all sizes
  // equal.
  static constexpr std::array<double, 2> kAGuides = {0.0, 1.0};

  ChartLayout(std::span<const ChartRow> rows,
              std::span<const std::string> labels, std::string_view title,
              bool withNote, std::array<double, 2> inView = kAGuides);

  // The room the chart takes; the picture is this rounded up to whole
  // pixels.
  double width() const { return width_; }
  int pictureWidth() const;
  int pictureHeight() const;
  double plotLeft() const { return plotLeft_; }
  double plotBottom() const { return plotBottom_; }
  // The right edge of the column of labels, and of the counts of places.
  double labelsRight() const { return labelsRight_; }
  double placesRight() const { return plotLeft_ - kChartLabelGap; }
  // The baseline of the note below the axis.
  double noteBaseline() const;

  // The x of the value `a` of A.
  double pixelOf(double a) const;
  // The y of the middle of the row at `index`, counted from the top.
  double rowCentre(std::size_t index) const;
  // The values of A at the axis's ticks, rising.
  std::vector<double> tickValues() const;
  // A tick's value with the axis's decimals and a true minus sign.
  std::string tickLabel(double a) const;

 private:
  struct AScale {
    double lowest = 0.0;
    double highest = 1.0;
    double step = 0.1;
    int decimals = 1;
  };

  static AScale scaleFor(std::span<const ChartRow> rows,
                         std::array<double, 2> inView);
  AScale scale_;
  bool hasNote_;
  double labelsRight_;
  double plotLeft_;
  double plotBottom_;
  double width_;
};

}  // namespace talvik

#endif  // TALVIK_PLOT_CHART_LAYOUT_H_
