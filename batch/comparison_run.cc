#include "batch/comparison_run.h"

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "batch/analysis_jobs.h"
#include "batch/batch_messages.h"
#include "batch/comparison_rows.h"
#include "batch/comparison_table.h"
#include "batch/input_sizes.h"
#include "batch/ordered_jobs.h"
#include "batch/progress_line.h"
#include "batch/shared_readings.h"
#include "batch/table_output.h"
#include "session/console/output_file.h"

namespace talvik {
namespace {

// As for the analyses: enough jobs ahead to keep every thread busy.
constexpr std::size_t kWindowPerJob = 8;

// What one comparison gives: its row, and the file's reading, whose
// messages are written with the file's first row.
struct ComparisonResult {
  ComparisonRow row;
  std::shared_ptr<const InputSizes> input;
};

SizeReadingRules readingRules(const BatchOptions& options) {
  return {.csv = options.csv,
          .largest = options.largest,
          .positiveOnly = options.positiveOnly,
          .strict = options.strict};
}

class ComparisonRun {
 public:
  ComparisonRun(const BatchOptions& options, std::ostream& out,
                std::ostream& errors, bool errorsOnTerminal)
      : options_(options),
        out_(out),
        errors_(errors),
        files_(options.files.begin() + 1, options.files.end()),
        jobs_(files_, options.seeds),
        readings_(files_,
                  [rules = readingRules(options)](const std::string& path) {
                    return readInputSizes(path, rules);
                  }),
        progress_(errors,
                  errorsOnTerminal && !options.quiet && jobs_.count() > 1,
                  jobs_.count()),
        table_(options.format, options.levels,
               options.levelGiven ? std::optional(options.plotLevel)
                                  : std::nullopt),
        tableOutput_(errors, progress_),
        chart_(options) {}

  bool run() {
    try {
      tableOutput_.open(options_.output, out_);
    } catch (const FileError& error) {
      errors_ << fileErrorLine(error) << std::flush;
      return false;
    }
    reference_ = readInputSizes(reference(), readingRules(options_));
    writeMessages(reference(), reference_);
    referenceError_ = referenceError(reference(), reference_);
    tableOutput_.write(table_.opening());
    runOrderedJobs<ComparisonResult>(
        jobs_.count(), options_.jobs, kWindowPerJob * options_.jobs,
        [this](std::size_t index) { return compare(jobs_.at(index)); },
        [this](std::size_t index, ComparisonResult result) {
          deliver(jobs_.at(index), std::move(result));
          progress_.update(index + 1);
        });
    progress_.erase();
    tableOutput_.write(table_.closing());
    tableOutput_.finish();
    writeChart();
    return !failed_ && !tableOutput_.failed();
  }

 private:
  const std::string& reference() const { return options_.files.front(); }

  ComparisonResult compare(const AnalysisJob& job) {
    ComparisonResult result;
    result.input = readings_.get(job.fileIndex);
    result.row =
        compareJob(options_, job, *result.input, reference_, referenceError_);
    return result;
  }

  // Only this one thread writes, one job at a time in the table's order.
  void deliver(const AnalysisJob& job, ComparisonResult result) {
    if (job.firstOfFile) writeMessages(job.file, *result.input);
    if (job.lastOfFile) readings_.release(job.fileIndex);
    if (!options_.chartFile.empty()) chart_.add(job, result.row);
    if (!result.row.error.empty()) failed_ = true;
    tableOutput_.write(table_.row(result.row));
  }

  void writeChart() {
    if (options_.chartFile.empty()) return;
    try {
      OutputFile chart(options_.chartFile, &out_);
      chart.write(chart_.draw());
      chart.finish();
    } catch (const FileError& error) {
      errors_ << fileErrorLine(error) << std::flush;
      failed_ = true;
    }
  }

  void writeMessages(const std::string& file, const InputSizes& input) {
    const std::string lines = fileMessageLines(file, input, !options_.quiet);
    if (lines.empty()) return;
    progress_.erase();
    errors_ << lines << std::flush;
  }

  const BatchOptions& options_;
  std::ostream& out_;
  std::ostream& errors_;
  std::vector<std::string> files_;  // those compared with the reference
  AnalysisJobs jobs_;
  SharedReadings readings_;
  ProgressLine progress_;
  ComparisonTable table_;
  InputSizes reference_;
  std::string referenceError_;  // every row's error when set
  TableOutput tableOutput_;
  DifferenceChartRows chart_;
  bool failed_ = false;
};

}  // namespace

bool runComparison(const BatchOptions& options, std::ostream& out,
                   std::ostream& errors, bool errorsOnTerminal) {
  ComparisonRun run(options, out, errors, errorsOnTerminal);
  return run.run();
}

}  // namespace talvik
