#ifndef TALVIK_PLOT_PLOT_COMMAND_H_
#define TALVIK_PLOT_PLOT_COMMAND_H_

#include <ostream>
#include <string>
#include <vector>

namespace talvik {

// The usage line, the first line of the help.
inline constexpr char kPlotUsage[] =
    "usage: talvik-plot [OPTIONS] PLOTFILE [OUTPUT.svg]";

// talvik-plot [OPTIONS] PLOTFILE [OUTPUT.svg] (see parsePlotArguments):
// reads a plotting file and writes its rank-size graph as an SVG file, by
// default the plotting file's name with the extension ".svg". The picture is
// written to a temporary file beside the output and renamed over it once
// complete. Returns 0 when the picture is written (naming it on `out`) and
// after --help or --version (written on `out`); 1 when a file fails, with
// one line on `errors` ("talvik-plot: FILE:LINE: reason (what was being
// done)"), no file left behind and no existing file changed; 2 for a command
// line it cannot follow, with the reason and a hint on `errors`.
int runPlotCommand(const std::vector<std::string>& arguments, std::ostream& out,
                   std::ostream& errors);

// The same with the process's arguments and standard streams.
int runPlotCommand(int argc, char** argv);

}  // namespace talvik

#endif  // TALVIK_PLOT_PLOT_COMMAND_H_
