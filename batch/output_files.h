#ifndef TALVIK_BATCH_OUTPUT_FILES_H_
#define TALVIK_BATCH_OUTPUT_FILES_H_

#include <cstddef>
#include <string>

#include "batch/analysis_jobs.h"
#include "batch/batch_options.h"

namespace talvik {

// Where the plotting file and the picture of one analysis go:
// FOLDER/STEM.csv and FOLDER/STEM.svg, STEM being the size file's name
// without its folder and extension, with "_seedN" added when names carry the
// seed.
struct PlotFiles {
  std::string plottingFile;
  std::string picture;
};

PlotFiles plotFilesOf(const std::string& folder, const AnalysisJob& job);

// The most analyses a --chart draws, one row each.
inline constexpr std::size_t kMostChartRows = 1000;

// The usage error when two outputs would be written to one file, or an output
// over a size file: two analyses with the same plot files, or the table
// (standard output without --output, or "-"), the chart, the plot folder or a
// plot file on a FILE or on each other, compared by the file or folder names
// lead to, symbolic links followed. Devices and pipes may be shared. Also a
// chart of more than kMostChartRows analyses. Empty when there is none.
std::string outputClash(const BatchOptions& options);

}  // namespace talvik

#endif  // TALVIK_BATCH_OUTPUT_FILES_H_
