#ifndef TALVIK_PLOT_COMPARISON_CHART_H_
#define TALVIK_PLOT_COMPARISON_CHART_H_

#include <span>
#include <string>
#include <string_view>

#include "plot/chart_row.h"

namespace talvik {

// Draws the analyses one row each, top to bottom in the given order, as a
// standalone SVG document: A as a point on a shared A axis and its ranges at
// the kChartLevels as nested bars (the widest lightest and thinnest, the
// narrowest darkest and thickest), each row's label (see shownLabels) and
// count of places at its left, with guide lines at A = 0 (the rank-size
// line) and A = 1 (all sizes equal). A row whose A or ranges are not finite,
// or beyond a million, gets a short note instead. The `notAnalysed` names
// (of files without numbers) are listed in a note below the axis. The
// height grows with the rows; the same arguments always give the same
// bytes.
std::string drawComparisonChart(std::span<const ChartRow> rows,
                                std::string_view title,
                                std::span<const std::string> notAnalysed);

// The same chart of comparisons with the analysis of `reference`: each row's
// `a` the difference in A of a file from the reference's, its ranges those
// of the difference and its places the file's, with a guide line at 0 (no
// difference) only, and the `notCompared` names in the note below.
std::string drawDifferenceChart(std::span<const ChartRow> rows,
                                std::string_view title,
                                std::string_view reference,
                                std::span<const std::string> notCompared);

}  // namespace talvik

#endif  // TALVIK_PLOT_COMPARISON_CHART_H_
