#ifndef TALVIK_BATCH_CHART_ROWS_H_
#define TALVIK_BATCH_CHART_ROWS_H_

#include <cstddef>
#include <string>
#include <vector>

#include "batch/analysis_jobs.h"
#include "batch/batch_options.h"
#include "batch/table_rows.h"
#include "plot/chart_row.h"

namespace talvik {

// The chart of a run's analyses, gathered row by row in the table's order:
// a row per analysis with numbers, labelled by its file (and seed), and the
// files none of whose analyses has numbers, named under the chart.
class ChartRows {
 public:
  explicit ChartRows(const BatchOptions& options);

  void add(const AnalysisJob& job, const AnalysisRow& row);
  // The chart of the rows added so far.
  std::string draw() const;

 private:
  std::vector<std::string> fileLabels_;  // by the index of the FILE
  std::vector<ChartRow> rows_;
  // The FILEs, by index, with an analysis that failed.
  std::vector<std::size_t> notAnalysedFiles_;
};

}  // namespace talvik

#endif  // TALVIK_BATCH_CHART_ROWS_H_
