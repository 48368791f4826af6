#ifndef TALVIK_PLOT_PLOT_OPTIONS_H_
#define TALVIK_PLOT_PLOT_OPTIONS_H_

#include <optional>
#include <string>
#include <vector>

namespace talvik {

// What the command line of talvik-plot asks for.
struct PlotOptions {
  enum class Action { kDraw, kShowHelp, kShowVersion };
  Action action = Action::kDraw;
  std::string plottingFile;
  std::optional<std::string> output;  // default: the plotting file's .svg
  std::optional<int> level;           // the zone's confidence level, 1 to 99
  std::optional<std::string> title;   // default: named after the plotting file
  std::string unit;                   // of the sizes; none when empty
};

// A command line talvik-plot cannot follow; `message` says why in one line.
struct UsageError {
  std::string message;
};

// Reads `talvik-plot [OPTIONS] PLOTFILE [OUTPUT.svg]` without the program
// name. Options: --level P (or --level=P), --title TEXT (or --title=TEXT),
// --unit TEXT (or --unit=TEXT),
// -h or --help, --version; "--" ends the options. --help and --version stop
// the reading where they stand. Throws UsageError.
PlotOptions parsePlotArguments(const std::vector<std::string>& arguments);

}  // namespace talvik

#endif  // TALVIK_PLOT_PLOT_OPTIONS_H_
