#ifndef TALVIK_WEB_PAGE_COMPARISON_H_
#define TALVIK_WEB_PAGE_COMPARISON_H_

#include <cstddef>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "batch/analysis_jobs.h"
#include "batch/batch_options.h"
#include "batch/comparison_rows.h"
#include "batch/comparison_table.h"
#include "batch/input_sizes.h"

namespace talvik {

// One download of a finished run: its kind, file name and bytes.
struct PageDownload {
  std::string kind;
  std::string name;
  std::string bytes;
};

// A run of the page that compares every file read after the first with the
// first, the reference, for every seed, in talvik-batch --compare's order;
// its tables and chart grow as talvik-batch writes them.
class PageComparison {
 public:
  // `options` (files and seeds among them) and `reference` must outlive the
  // comparison.
  // REQUIRES: options.files.size() >= 2
  PageComparison(const BatchOptions& options, const InputSizes& reference);

  std::size_t count() const { return jobs_.count(); }
  // The job of comparison `index`; its fileIndex counts the files after the
  // reference.
  // REQUIRES: index < count()
  AnalysisJob job(std::size_t index) const { return jobs_.at(index); }

  // Runs the comparison of `job`'s file, read as `input`: the answer to
  // `analyse`.
  nlohmann::json compare(const AnalysisJob& job, const InputSizes& input);

  // The tables, CSV and JSON, and the chart when talvik-batch would draw it.
  std::vector<PageDownload> finish() const;

 private:
  const BatchOptions& options_;
  const InputSizes& reference_;
  std::string referenceError_;
  std::vector<std::string> compared_;  // the files after the reference
  AnalysisJobs jobs_;
  ComparisonTable csvTable_;
  ComparisonTable jsonTable_;
  std::string csvText_;
  std::string jsonText_;
  DifferenceChartRows chart_;
};

}  // namespace talvik

#endif  // TALVIK_WEB_PAGE_COMPARISON_H_
