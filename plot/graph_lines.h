#ifndef TALVIK_PLOT_GRAPH_LINES_H_
#define TALVIK_PLOT_GRAPH_LINES_H_

#include <span>

#include "plot/graph_axes.h"
#include "plot/plotting_rows.h"
#include "plot/svg_writer.h"

namespace talvik {

// What the graph shows of the rows, bottom layer first: the zone between the
// bound resamples shaded (SIZEUP along the ranks, then SIZELO back), the
// reference line (LOGNORM) dashed, and the observed sizes (SETSIZE) as points
// joined by a line. Sizes without a logarithm are left out, and a line is
// broken where one is.
void drawGraphLines(SvgWriter& svg, std::span<const PlottingRow> rows,
                    const GraphAxes& axes);

}  // namespace talvik

#endif  // TALVIK_PLOT_GRAPH_LINES_H_
