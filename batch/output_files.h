#ifndef TALVIK_BATCH_OUTPUT_FILES_H_
#define TALVIK_BATCH_OUTPUT_FILES_H_

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

// The usage error when two outputs would be written to one file, or an output
// over a size file: two analyses with the same plot files, or the table, the
// chart or a plot file on a FILE or on each other. Empty when there is none.
std::string outputClash(const BatchOptions& options);

}  // namespace talvik

#endif  // TALVIK_BATCH_OUTPUT_FILES_H_
