#ifndef TALVIK_PLOT_CHART_LAYOUT_H_
#define TALVIK_PLOT_CHART_LAYOUT_H_

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

// Why a row has no bars, if it has none: its A or a range is not finite, or
// beyond a million, which would squash every other row into one pixel.
std::optional<std::string_view> whyNotDrawn(const ChartRow& row);

// A row's label as the chart shows it: cut to 48 characters with an
// ellipsis, between UTF-8 characters.
std::string shortenedLabel(std::string_view label);

// The rough width in pixels of a text in the detail font.
double detailTextWidth(std::string_view text);

// Where the rows, the A axis and the picture's edges fall for these rows and
// this title: the label column as wide as the longest shown label, one row
// height per row, and an A axis of round steps from below the smallest to
// above the largest number drawn, 0 and 1 always in view and neither on the
// frame.
class ChartLayout {
 public:
  ChartLayout(std::span<const ChartRow> rows, std::string_view title);

  // The room the chart takes; the picture is this rounded up to whole
  // pixels.
  double width() const { return width_; }
  int pictureWidth() const;
  int pictureHeight() const;
  double plotLeft() const { return plotLeft_; }
  double plotBottom() const { return plotBottom_; }

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

  static AScale scaleFor(std::span<const ChartRow> rows);
  static double labelColumnWidth(std::span<const ChartRow> rows);

  AScale scale_;
  double plotLeft_;
  double plotBottom_;
  double width_;
};

}  // namespace talvik

#endif  // TALVIK_PLOT_CHART_LAYOUT_H_
