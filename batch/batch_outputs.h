#ifndef TALVIK_BATCH_BATCH_OUTPUTS_H_
#define TALVIK_BATCH_BATCH_OUTPUTS_H_

#include <cstddef>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "batch/analysis_jobs.h"
#include "batch/batch_options.h"
#include "batch/chart_rows.h"
#include "batch/job_output.h"
#include "batch/progress_line.h"
#include "batch/result_table.h"
#include "batch/summary_table.h"
#include "batch/table_output.h"
#include "batch/table_rows.h"
#include "session/console/output_file.h"
#include "session/console/whole_file.h"

namespace talvik {

// Where the results of a run go, from one thread, in the order of the
// table: the table (on standard output, or to the --output file, as it grows:
// a file is written under a temporary name and put in place only once
// complete), the plot files of each analysis and the chart of all of them. A
// file that cannot be written is reported on `errors` at once, in place of
// the progress line, and fails the run.
class BatchOutputs {
 public:
  BatchOutputs(const BatchOptions& options, std::ostream& out,
               std::ostream& errors, ProgressLine& progress);

  // Makes the plot folder when one is asked for, then starts the table.
  // False, with no file written, when either cannot be done.
  bool start();
  // The next analysis: its plot files and chart row when it has numbers, and
  // its row. A plot file not written makes the row a failure.
  void add(const AnalysisJob& job, AnalysisOutput output);
  // Ends the table and writes the chart.
  void finish();

  // Whether any analysis failed or any output could not be written.
  bool failed() const { return failed_ || tableOutput_.failed(); }

 private:
  void writePlots(const AnalysisJob& job, AnalysisOutput& output);
  void writeChart();
  void report(const FileError& error);

  const BatchOptions& options_;
  std::ostream& out_;
  std::ostream& errors_;
  ProgressLine& progress_;
  ResultTable table_;
  std::optional<SummaryTable> summary_;  // with --summary, in table_'s place
  TableOutput tableOutput_;
  ChartRows chart_;
  bool failed_ = false;
};

}  // namespace talvik

#endif  // TALVIK_BATCH_BATCH_OUTPUTS_H_
