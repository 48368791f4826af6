#ifndef TALVIK_PLOT_GRAPH_AREA_H_
#define TALVIK_PLOT_GRAPH_AREA_H_

namespace talvik {

// The rank-size graph's size in pixels and the frame of its plotting area,
// which its axes, lines and legend all place themselves against.
inline constexpr int kGraphWidth = 860;
inline constexpr int kGraphHeight = 510;
inline constexpr double kAreaLeft = 90.0;
inline constexpr double kAreaRight = 640.0;
inline constexpr double kAreaTop = 70.0;
inline constexpr double kAreaBottom = 450.0;

}  // namespace talvik

#endif  // TALVIK_PLOT_GRAPH_AREA_H_
