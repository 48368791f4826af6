#ifndef TALVIK_PLOT_SVG_GRAPH_H_
#define TALVIK_PLOT_SVG_GRAPH_H_

#include <optional>
#include <span>
#include <string>

#include "plot/plotting_rows.h"

namespace talvik {

// What the graph says in words.
struct GraphLabels {
  std::string title;  // the heading, and the document's title
  // The zone's confidence level in %, from 1 to 99, when known.
  std::optional<int> level = std::nullopt;
  // The rank-size statistic A of the observed sizes, when known.
  std::optional<double> observedA = std::nullopt;
  // The unit of the sizes, named on the size axis: "Size (ha)"; none when
  // empty.
  std::string unit = {};
};

// Draws the rank-size graph of a plotting file as a standalone SVG document:
// rank and size on logarithmic axes, the observed sizes (SETSIZE) as points
// joined by a line, the reference line (LOGNORM) dashed, and the zone
// between the bound resamples (SIZEUP along the ranks, then SIZELO back)
// shaded. The rank axis runs from rank 1 to the last rank with a small
// margin, the size axis between two powers of ten. The legend names the
// level and shows A with 3 decimals when they are given. Sizes without a
// logarithm (zero, overflow, NaN, INF) are left out, the lines broken there,
// and counted in a note. The same rows and labels always give the same
// bytes; coordinates have 2 decimals.
// REQUIRES: rows hold the ranks 1, 2, ..., n in order, n >= 1
std::string drawRankSizeGraph(std::span<const PlottingRow> rows,
                              const GraphLabels& labels);

}  // namespace talvik

#endif  // TALVIK_PLOT_SVG_GRAPH_H_
