#include "plot/plot_command.h"

#include <filesystem>
#include <iostream>
#include <optional>
#include <string_view>

#include "plot/plot_error.h"
#include "plot/plotting_rows.h"
#include "plot/svg_graph.h"
#include "session/whole_file.h"

namespace talvik {
namespace {

// The failure of a file operation in the words of talvik-plot.
PlotError plotErrorOf(const FileError& error) {
  std::string operation;
  switch (error.operation) {
    case FileOperation::kOpening:
      operation = "opening the plotting file";
      break;
    case FileOperation::kReading:
      operation = "reading the plotting file";
      break;
    case FileOperation::kCreating:
      operation = "creating the picture";
      break;
    case FileOperation::kWriting:
      operation = "writing the picture";
      break;
    case FileOperation::kPuttingInPlace:
      operation = "putting the picture in place";
      break;
  }
  return PlotError{error.path, std::nullopt, error.reason, operation};
}

void report(const PlotError& error, std::ostream& errors) {
  errors << "talvik-plot: " << error.file;
  if (error.line) errors << ":" << *error.line;
  errors << ": " << error.reason << " (" << error.operation << ")\n";
}

void writePicture(const std::string& plottingFile, const std::string& output,
                  std::ostream& out) {
  const std::string text = readWholeFile(plottingFile);
  if (isSameFile(plottingFile, output)) {
    throw PlotError{output, std::nullopt, "is the plotting file itself",
                    "refusing to overwrite it with the picture"};
  }
  const std::vector<PlottingRow> rows = readPlottingRows(text, plottingFile);
  const std::string svg = drawRankSizeGraph(
      rows, std::filesystem::path(plottingFile).filename().string());
  replaceWholeFile(output, svg);
  out << "Wrote " << output << " (" << rows.size()
      << (rows.size() == 1 ? " rank)" : " ranks)") << "\n";
}

}  // namespace

int runPlotCommand(const std::vector<std::string>& arguments, std::ostream& out,
                   std::ostream& errors) {
  if (arguments.size() == 1 &&
      (arguments[0] == "--help" || arguments[0] == "-h")) {
    out << kPlotUsage << "\n";
    return 0;
  }
  if (arguments.empty() || arguments.size() > 2 || arguments[0].empty() ||
      (arguments.size() == 2 && arguments[1].empty())) {
    errors << kPlotUsage << "\n";
    return 1;
  }
  const std::string& plottingFile = arguments[0];
  const std::string output = arguments.size() == 2
                                 ? arguments[1]
                                 : std::filesystem::path(plottingFile)
                                       .replace_extension(".svg")
                                       .string();
  try {
    writePicture(plottingFile, output, out);
  } catch (const PlotError& error) {
    report(error, errors);
    return 1;
  } catch (const FileError& error) {
    report(plotErrorOf(error), errors);
    return 1;
  }
  return 0;
}

int runPlotCommand(int argc, char** argv) {
  return runPlotCommand(std::vector<std::string>(argv + 1, argv + argc),
                        std::cout, std::cerr);
}

}  // namespace talvik
