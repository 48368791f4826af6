#ifndef TALVIK_PLOT_GRAPH_LEGEND_H_
#define TALVIK_PLOT_GRAPH_LEGEND_H_

#include <optional>
#include <span>

#include "plot/plotting_rows.h"
#include "plot/svg_writer.h"

namespace talvik {

// What the legend names besides the lines.
struct LegendContents {
  std::optional<int> level;         // the zone's, when known
  std::optional<double> observedA;  // when known
  bool zoneDrawn = true;
};

// The column right of the plotting area: an entry each for the observed
// sizes, the reference line and, when drawn, the zone (naming the level when
// known), one for A with 3 decimals when known, and below them a note
// counting, per column, the sizes left out for want of a logarithm, and
// saying why no zone is drawn when none is.
void drawGraphLegend(SvgWriter& svg, std::span<const PlottingRow> rows,
                     const LegendContents& contents);

}  // namespace talvik

#endif  // TALVIK_PLOT_GRAPH_LEGEND_H_
