#include "plot/plot_command.h"

#include <filesystem>
#include <iostream>
#include <memory>
#include <optional>
#include <string_view>

#include "plot/plot_error.h"
#include "plot/plot_options.h"
#include "plot/plotting_rows.h"
#include "plot/svg_graph.h"
#include "session/console/fault.h"
#include "session/console/input_file.h"
#include "session/console/memory_failure.h"
#include "session/console/output_file.h"
#include "session/console/output_place.h"
#include "session/console/shown_text.h"
#include "session/console/whole_file.h"

namespace talvik {
namespace {

// The failure of a file operation in the words of talvik-plot.
PlotError plotErrorOf(const FileError& error) {
  std::string operation;
  switch (error.operation) {
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

// The plotting file opened to be read as a stream, record by record.
std::unique_ptr<InputFile> openPlottingFile(const std::string& path) {
  try {
    return std::make_unique<InputFile>(path);
  } catch (const Fault& fault) {
    throw PlotError{path, std::nullopt, fault.cause,
                    "opening the plotting file"};
  }
}

// Names and the fields a reason quotes are outside text: shown escaped, so
// that they cannot drive the terminal or split the line.
void report(const PlotError& error, std::ostream& errors) {
  errors << "talvik-plot: " << shownText(error.file, kShownNameBytes);
  if (error.line) errors << ":" << *error.line;
  errors << ": " << shownText(error.reason) << " (" << error.operation << ")\n";
}

constexpr int kDrawn = 0;
constexpr int kFileFailed = 1;
constexpr int kUsageError = 2;

constexpr std::string_view kHelp =
    "\n"
    "Draws the rank-size graph of a plotting file written by talvik as an SVG\n"
    "picture: OUTPUT.svg, by default PLOTFILE with the extension .svg; \"-\"\n"
    "writes it on standard output.\n"
    "\n"
    "Options:\n"
    "  --level P     the confidence level of the zone, P from 1 to 99, shown\n"
    "                in the legend (\"90 % confidence zone\")\n"
    "  --title TEXT  the picture's title instead of \"Rank-size graph of\n"
    "                PLOTFILE\"\n"
    "  --unit TEXT   the unit of the sizes, named on the size axis:\n"
    "                \"Size (TEXT)\"\n"
    "  -h, --help    show this help and exit\n"
    "  --version     show the version and exit\n"
    "\n"
    "Exit status: 0 when the picture is written, 1 when a file fails, 2 for\n"
    "a command line that cannot be followed.\n";

void writePicture(const PlotOptions& options, std::ostream& out) {
  const std::string& plottingFile = options.plottingFile;
  const std::string output = options.output.value_or(
      std::filesystem::path(plottingFile).replace_extension(".svg").string());
  const std::unique_ptr<InputFile> file = openPlottingFile(plottingFile);
  if (isSameFile(plottingFile, output)) {
    throw PlotError{output, std::nullopt, "is the plotting file itself",
                    "refusing to overwrite it with the picture"};
  }
  const std::vector<PlottingRow> rows = readPlottingRows(*file, plottingFile);
  const GraphLabels labels{
      options.title.value_or(
          "Rank-size graph of " +
          std::filesystem::path(plottingFile).filename().string()),
      options.level, std::nullopt, options.unit};
  OutputFile picture(output, &out);
  picture.write(drawRankSizeGraph(rows, labels));
  picture.finish();
  // A picture on standard output is all that goes there.
  if (picture.isStandardOutput()) return;
  out << "Wrote " << shownText(output, kShownNameBytes) << " (" << rows.size()
      << (rows.size() == 1 ? " rank)" : " ranks)") << "\n";
}

}  // namespace

int runPlotCommand(const std::vector<std::string>& arguments, std::ostream& out,
                   std::ostream& errors) {
  PlotOptions options;
  try {
    options = parsePlotArguments(arguments);
  } catch (const UsageError& error) {
    errors << "talvik-plot: " << shownText(error.message) << "\n"
           << "Try 'talvik-plot --help' for more information.\n";
    return kUsageError;
  }
  switch (options.action) {
    case PlotOptions::Action::kShowHelp:
      out << kPlotUsage << "\n" << kHelp;
      return kDrawn;
    case PlotOptions::Action::kShowVersion:
      out << "talvik-plot " << TALVIK_VERSION << "\n";
      return kDrawn;
    case PlotOptions::Action::kDraw:
      break;
  }
  try {
    writePicture(options, out);
  } catch (const PlotError& error) {
    report(error, errors);
    return kFileFailed;
  } catch (const FileError& error) {
    report(plotErrorOf(error), errors);
    return kFileFailed;
  }
  return kDrawn;
}

int runPlotCommand(int argc, char** argv) {
  return runReportingMemoryFailure("talvik-plot", std::cerr, [&] {
    return runPlotCommand(std::vector<std::string>(argv + 1, argv + argc),
                          std::cout, std::cerr);
  });
}

}  // namespace talvik
