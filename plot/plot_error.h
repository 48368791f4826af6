#ifndef TALVIK_PLOT_PLOT_ERROR_H_
#define TALVIK_PLOT_PLOT_ERROR_H_

#include <cstddef>
#include <optional>
#include <string>

namespace talvik {

// Why talvik-plot cannot draw a picture. It is thrown where the failure is
// met and caught once by runPlotCommand, which prints it as
// "talvik-plot: FILE:LINE: reason (operation)".
struct PlotError {
  std::string file;
  // Absent when the failure concerns the whole file.
  std::optional<std::size_t> line;
  std::string reason;  // e.g. "RANK is 3, expected 2"
  // What was being done, e.g. "reading the plotting file".
  std::string operation;
};

}  // namespace talvik

#endif  // TALVIK_PLOT_PLOT_ERROR_H_
