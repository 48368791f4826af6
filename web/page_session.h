#ifndef TALVIK_WEB_PAGE_SESSION_H_
#define TALVIK_WEB_PAGE_SESSION_H_

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "batch/analysis_jobs.h"
#include "batch/batch_options.h"
#include "batch/chart_rows.h"
#include "batch/input_sizes.h"
#include "batch/result_table.h"
#include "batch/summary_table.h"
#include "web/page_comparison.h"
#include "web/page_request.h"

namespace talvik {

// The answer to one request: JSON text, then the bytes of its downloads,
// which the JSON names by offset and length in `attachments`. Downloads
// travel as bytes so that they reach the user exactly as the programs write
// them, whatever they hold.
struct PageResponse {
  std::string json;
  std::string attachments;
};

// What the page has asked for so far: the files read, then one run of
// analyses (or comparisons) over them, run in the table's order so that the
// tables and the chart grow as talvik-batch writes them. Every answer is a
// value:
// `{"error": TEXT}` for a request that cannot be followed.
class PageSession {
 public:
  PageResponse handle(const PageRequest& request, std::string_view payload);

  // The answer to a request that cannot be followed.
  static PageResponse refusal(std::string_view text);

 private:
  // A file read, by the rules it was read with.
  struct ReadFile {
    std::string name;
    InputSizes input;
    bool positiveOnly = false;
    bool largest = false;
  };

  bool running() const { return jobs_ || comparison_; }
  void reset();
  PageResponse columns(const PageRequest& request, std::string_view payload);
  PageResponse read(const PageRequest& request, std::string_view payload);
  PageResponse run(const PageRequest& request);
  PageResponse analyse(const PageRequest& request);
  PageResponse finish();

  std::vector<ReadFile> files_;
  // The run, set by `run`: its options and jobs, and what it has written.
  BatchOptions options_;
  std::optional<AnalysisJobs> jobs_;  // over options_'s files and seeds
  // Instead of jobs_ in a run that compares; its reference is files_'s first.
  std::optional<PageComparison> comparison_;
  std::size_t analysed_ = 0;
  std::optional<ResultTable> csvTable_;
  std::optional<ResultTable> jsonTable_;
  std::optional<SummaryTable> csvSummary_;
  std::optional<SummaryTable> jsonSummary_;
  std::optional<ChartRows> chart_;
  std::string csvText_;
  std::string jsonText_;
  std::string csvSummaryText_;
  std::string jsonSummaryText_;
};

}  // namespace talvik

#endif  // TALVIK_WEB_PAGE_SESSION_H_
