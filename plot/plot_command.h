#ifndef TALVIK_PLOT_PLOT_COMMAND_H_
#define TALVIK_PLOT_PLOT_COMMAND_H_

#include <ostream>
#include <string>
#include <vector>

namespace talvik {

// The usage line, written when the arguments are wrong.
inline constexpr char kPlotUsage[] = "usage: talvik-plot PLOTFILE [OUTPUT.svg]";

// talvik-plot PLOTFILE [OUTPUT.svg]: reads a plotting file and writes its
// rank-size graph as an SVG file, by default the plotting file's name with the
// extension ".svg". The picture is written to a temporary file beside the
// output and renamed over it once complete. On any failure it writes one line
// to `errors` ("talvik-plot: FILE:LINE: reason (what was being done)"), leaves
// no file behind and no existing file changed, and returns 1; on success it
// names the picture on `out` and returns 0.
int runPlotCommand(const std::vector<std::string>& arguments, std::ostream& out,
                   std::ostream& errors);

// The same with the process's arguments and standard streams.
int runPlotCommand(int argc, char** argv);

}  // namespace talvik

#endif  // TALVIK_PLOT_PLOT_COMMAND_H_
