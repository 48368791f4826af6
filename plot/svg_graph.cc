#include "plot/svg_graph.h"

#include <string>
#include <string_view>

#include "plot/chart_style.h"
#include "plot/graph_area.h"
#include "plot/graph_axes.h"
#include "plot/graph_legend.h"
#include "plot/graph_lines.h"
#include "plot/svg_writer.h"

namespace talvik {
namespace {

void drawHeading(SvgWriter& svg, std::size_t ranks, std::string_view title) {
  svg.element("text",
              {{"x", kAreaLeft},
               {"y", 32.0},
               {"font-size", kTitleFontSize},
               {"font-weight", "bold"}},
              title);
  svg.element("text",
              {{"x", kAreaLeft}, {"y", 52.0}, {"fill", kQuietTextColour}},
              std::to_string(ranks) + (ranks == 1 ? " rank" : " ranks") +
                  ", both axes logarithmic (base 10)");
}

}  // namespace

std::string drawRankSizeGraph(std::span<const PlottingRow> rows,
                              const GraphLabels& labels) {
  const GraphAxes axes = graphAxesFor(rows);
  SvgWriter svg(kGraphWidth, kGraphHeight, labels.title);
  drawHeading(svg, rows.size(), labels.title);
  drawGraphGrid(svg, axes);
  const bool withZone = zoneHasWidth(rows);
  drawGraphLines(svg, rows, axes, withZone);
  drawGraphAxes(svg, axes, labels.unit);
  drawGraphLegend(svg, rows, {labels.level, labels.observedA, withZone});
  return svg.finish();
}

}  // namespace talvik
