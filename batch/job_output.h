#ifndef TALVIK_BATCH_JOB_OUTPUT_H_
#define TALVIK_BATCH_JOB_OUTPUT_H_

#include <string>

#include "batch/analysis_jobs.h"
#include "batch/batch_options.h"
#include "batch/input_sizes.h"
#include "batch/table_rows.h"

namespace talvik {

// What one analysis gives the outputs: its row and, when plots are asked for
// and it has numbers, its plotting file, picture and results file.
struct AnalysisOutput {
  AnalysisRow row;
  std::string plottingFile;
  std::string picture;
  std::string resultsFile;
};

// Analyses the job's file, read as `input`, with the job's seed by the
// options: its row, whose error is the reading's when the file could not be
// read, and its plot files and results file when `options` ask for plots. Every
// way of running analyses (threads and files, or the web page) makes its rows
// here, so that their tables agree byte for byte.
AnalysisOutput analyseJob(const BatchOptions& options, const AnalysisJob& job,
                          const InputSizes& input);

}  // namespace talvik

#endif  // TALVIK_BATCH_JOB_OUTPUT_H_
