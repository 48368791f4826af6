#ifndef TALVIK_PLOT_COMPARISON_CHART_H_
#define TALVIK_PLOT_COMPARISON_CHART_H_

#include <array>
#include <span>
#include <string>
#include <string_view>

namespace talvik {

// The confidence levels of the error ranges, widest first.
inline constexpr std::array<int, 5> kChartLevels = {99, 95, 90, 80, 66};

// The bounds of A at one confidence level.
struct ARange {
  double lower = 0.0;
  double upper = 0.0;
};

// One analysis: a size file, with its seed when several seeds run.
struct ChartRow {
  std::string label;
  double a = 0.0;
  std::array<ARange, kChartLevels.size()> ranges;  // in kChartLevels order
};

// Draws the analyses one row each, top to bottom in the given order, as a
// standalone SVG document: A as a point on a shared A axis and its five
// ranges as nested bars (99 % lightest and thinnest, 66 % darkest and
// thickest), with guide lines at A = 0 (the rank-size line) and A = 1 (all
// sizes equal). A row whose A or ranges are not finite, or beyond a million,
// gets a short note instead. The height grows with the rows; the same rows
// and title always give the same bytes.
std::string drawComparisonChart(std::span<const ChartRow> rows,
                                std::string_view title);

}  // namespace talvik

#endif  // TALVIK_PLOT_COMPARISON_CHART_H_
