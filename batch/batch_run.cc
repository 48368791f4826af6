#include "batch/batch_run.h"

#include <cstddef>
#include <memory>
#include <string>
#include <utility>

#include "batch/analysis_jobs.h"
#include "batch/batch_messages.h"
#include "batch/batch_outputs.h"
#include "batch/input_sizes.h"
#include "batch/job_output.h"
#include "batch/ordered_jobs.h"
#include "batch/progress_line.h"
#include "batch/shared_readings.h"
#include "batch/table_notes.h"

namespace talvik {
namespace {

// Jobs started per thread ahead of the next row to write: enough to keep
// every thread busy while one analysis takes longer than the others.
constexpr std::size_t kWindowPerJob = 8;

// What one job gives: its output, and the file's reading, whose messages are
// written with the file's first row.
struct JobResult {
  AnalysisOutput output;
  std::shared_ptr<const InputSizes> input;
};

// Reads a FILE by the rules the options give.
SharedReadings::ReadFile fileReader(const BatchOptions& options) {
  const SizeReadingRules rules{.csv = options.csv,
                               .largest = options.largest,
                               .positiveOnly = options.positiveOnly,
                               .strict = options.strict};
  return
      [rules](const std::string& path) { return readInputSizes(path, rules); };
}

class BatchRun {
 public:
  BatchRun(const BatchOptions& options, std::ostream& out, std::ostream& errors,
           bool errorsOnTerminal)
      : options_(options),
        errors_(errors),
        jobs_(options.files, options.seeds),
        readings_(options.files, fileReader(options)),
        progress_(errors,
                  errorsOnTerminal && !options.quiet && jobs_.count() > 1,
                  jobs_.count()),
        outputs_(options, out, errors, progress_) {}

  bool run() {
    if (!outputs_.start()) return false;
    runOrderedJobs<JobResult>(
        jobs_.count(), options_.jobs, kWindowPerJob * options_.jobs,
        [this](std::size_t index) { return analyse(jobs_.at(index)); },
        [this](std::size_t index, JobResult result) {
          deliver(jobs_.at(index), std::move(result));
          progress_.update(index + 1);
        });
    progress_.erase();
    outputs_.finish();
    return !outputs_.failed();
  }

 private:
  JobResult analyse(const AnalysisJob& job) {
    JobResult result;
    result.input = readings_.get(job.fileIndex);
    result.output = analyseJob(options_, job, *result.input);
    return result;
  }

  // Only this one thread writes, one job at a time in the table's order.
  void deliver(const AnalysisJob& job, JobResult result) {
    if (job.firstOfFile) {
      writeMessages(job.file, *result.input, result.output.row);
    }
    if (job.lastOfFile) readings_.release(job.fileIndex);
    outputs_.add(job, std::move(result.output));
  }

  // The file's messages, and the warning of its A when the sizes without a
  // logarithm make it not finite: A is the same whatever the seed, so the
  // first row tells.
  void writeMessages(const std::string& file, const InputSizes& input,
                     const AnalysisRow& firstRow) {
    const std::string unusable =
        firstRow.numbers
            ? unusableSizesWarning(firstRow.numbers->a, input.unusable,
                                   options_.positiveOnly)
            : std::string();
    const std::string lines =
        fileMessageLines(file, input, !options_.quiet, unusable);
    if (lines.empty()) return;
    progress_.erase();
    errors_ << lines << std::flush;
  }

  const BatchOptions& options_;
  std::ostream& errors_;
  AnalysisJobs jobs_;
  SharedReadings readings_;
  ProgressLine progress_;
  BatchOutputs outputs_;
};

}  // namespace

bool runBatch(const BatchOptions& options, std::ostream& out,
              std::ostream& errors, bool errorsOnTerminal) {
  BatchRun run(options, out, errors, errorsOnTerminal);
  return run.run();
}

}  // namespace talvik
