#ifndef TALVIK_PLOT_CHART_STYLE_H_
#define TALVIK_PLOT_CHART_STYLE_H_

#include <string_view>

namespace talvik {

// The look every talvik picture shares, so that a rank-size graph and a
// comparison chart can stand side by side in one paper.
inline constexpr std::string_view kFontFamily =
    "DejaVu Sans, Liberation Sans, Arial, Helvetica, sans-serif";
inline constexpr std::string_view kInkColour = "#1a1a1a";
inline constexpr std::string_view kQuietTextColour = "#555555";
inline constexpr std::string_view kGridColour = "#e3e3e3";
inline constexpr std::string_view kReferenceColour = "#b2182b";
inline constexpr std::string_view kZoneFill = "#c6dbef";
inline constexpr std::string_view kZoneBorder = "#4a7ab5";
inline constexpr std::string_view kDash = "7 4";
inline constexpr std::string_view kTitleFontSize = "18";
inline constexpr std::string_view kAxisNameFontSize = "13";
inline constexpr std::string_view kDetailFontSize = "10.5";
inline constexpr std::string_view kLineWidth = "1.5";
inline constexpr std::string_view kFrameWidth = "1";
inline constexpr double kTickLength = 6.0;
inline constexpr double kMinorTickLength = 3.0;

}  // namespace talvik

#endif  // TALVIK_PLOT_CHART_STYLE_H_
