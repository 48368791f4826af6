#ifndef TALVIK_PLOT_GRAPH_AXES_H_
#define TALVIK_PLOT_GRAPH_AXES_H_

#include <span>
#include <string_view>

#include "plot/log_scale.h"
#include "plot/plotting_rows.h"
#include "plot/svg_writer.h"

namespace talvik {

// The rank axis along the foot of the plotting area and the size axis up its
// left side, both logarithmic.
struct GraphAxes {
  LogAxis ranks;
  LogAxis sizes;
};

// Ranks from 1 to the last rank with a small margin (a single rank gets the
// room of two); sizes between the powers of ten around every size that has
// a logarithm, or 1 to 10 when none has.
// REQUIRES: !rows.empty()
GraphAxes graphAxesFor(std::span<const PlottingRow> rows);

// Light lines across the plotting area at the powers of ten inside it.
void drawGraphGrid(SvgWriter& svg, const GraphAxes& axes);

// The frame, the ticks with their labels, and the names of the axes, the
// size axis's with the unit in brackets unless it is empty. The labels of an
// axis are all plain digits or all powers of ten.
void drawGraphAxes(SvgWriter& svg, const GraphAxes& axes,
                   std::string_view unit);

}  // namespace talvik

#endif  // TALVIK_PLOT_GRAPH_AXES_H_
