#ifndef TALVIK_BATCH_COMPARISON_ROWS_H_
#define TALVIK_BATCH_COMPARISON_ROWS_H_

#include <cstddef>
#include <string>
#include <vector>

#include "batch/analysis_jobs.h"
#include "batch/batch_options.h"
#include "batch/comparison_table.h"
#include "batch/input_sizes.h"
#include "plot/chart_row.h"

namespace talvik {

// The error of every comparison when the reference, read as `input`, could
// not be read; empty when it could.
std::string referenceError(const std::string& reference,
                           const InputSizes& input);

// Compares the job's file, read as `input`, with the reference (the first of
// options.files), read as `reference`, with the job's seed: the row, whose
// error is `referenceErrorText` when that is set, else the file's reading's
// when the file could not be read. The jobs are over the files after the
// reference. Every way of running comparisons (threads and files, or the web
// page) makes its rows here, so that their tables agree byte for byte.
ComparisonRow compareJob(const BatchOptions& options, const AnalysisJob& job,
                         const InputSizes& input, const InputSizes& reference,
                         const std::string& referenceErrorText);

// The chart of a run's comparisons, gathered row by row in the table's order:
// a row per comparison with numbers, labelled by its file (and seed), and the
// files with a comparison without numbers, named under the chart once each.
class DifferenceChartRows {
 public:
  explicit DifferenceChartRows(const BatchOptions& options);

  // `job` is one of the jobs over the files after the reference.
  void add(const AnalysisJob& job, const ComparisonRow& row);
  // The chart of the rows added so far.
  std::string draw() const;

 private:
  std::vector<std::string> labels_;  // by the index of the FILE
  std::vector<ChartRow> rows_;
  std::vector<std::string> notCompared_;
};

}  // namespace talvik

#endif  // TALVIK_BATCH_COMPARISON_ROWS_H_
