#ifndef TALVIK_PLOT_GRAPH_LINES_H_
#define TALVIK_PLOT_GRAPH_LINES_H_

#include <span>

#include "plot/graph_axes.h"
#include "plot/plotting_rows.h"
#include "plot/svg_writer.h"

namespace talvik {

// Whether the zone between the bound resamples has any width: SIZEUP and
// SIZELO differ at some rank. They are the same at every rank when every
// resample is the observed sizes (all sizes equal), or when the bounds are
// not numbers (A not finite) and the plotting file repeats the observed
// sizes.
bool zoneHasWidth(std::span<const PlottingRow> rows);

// What the graph shows of the rows, bottom layer first: the zone between the
// bound resamples shaded (SIZEUP along the ranks, then SIZELO back) when
// `withZone`, the
// reference line (LOGNORM) dashed, and the observed sizes (SETSIZE) as points
// joined by a line. Sizes without a logarithm are left out, and a line is
// broken where one is.
void drawGraphLines(SvgWriter& svg, std::span<const PlottingRow> rows,
                    const GraphAxes& axes, bool withZone);

}  // namespace talvik

#endif  // TALVIK_PLOT_GRAPH_LINES_H_
