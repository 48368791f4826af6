#include "batch/batch_command.h"

#include <filesystem>
#include <iostream>
#include <memory>
#include <optional>
#include <set>
#include <string_view>
#include <thread>

#include "batch/batch_analysis.h"
#include "batch/batch_options.h"
#include "batch/input_sizes.h"
#include "batch/option_values.h"
#include "batch/ordered_jobs.h"
#include "batch/progress_line.h"
#include "batch/result_table.h"
#include "batch/shared_readings.h"
#include "session/terminal.h"

namespace talvik {
namespace {

constexpr int kAllSucceeded = 0;
constexpr int kSomeFailed = 1;
constexpr int kUsageError = 2;

// Jobs started per thread ahead of the next row to write: enough to keep
// every thread busy while one analysis takes longer than the others.
constexpr std::size_t kWindowPerJob = 8;

// "FILE:LINE" or, for the file as a whole, "FILE".
std::string placeOf(std::string_view file, std::int64_t line) {
  std::string place(file);
  if (line > 0) {
    place += ':';
    place += std::to_string(line);
  }
  return place;
}

// The error column of a file that could not be analysed: its first error.
std::string errorCell(const InputSizes& input) {
  const FileMessage& first = input.errors.front();
  std::string cell;
  if (first.line > 0) {
    cell += "line ";
    cell += std::to_string(first.line);
    cell += ": ";
  }
  cell += first.text;
  if (input.errors.size() > 1) {
    cell += " (and ";
    cell += std::to_string(input.errors.size() - 1);
    cell += " more)";
  }
  return cell;
}

// What one job gives: the row, and the file's reading, whose messages are
// written with the file's first row.
struct JobResult {
  AnalysisRow row;
  std::shared_ptr<const InputSizes> input;
};

class BatchRun {
 public:
  BatchRun(const BatchOptions& options, std::ostream& out, std::ostream& errors,
           bool errorsOnTerminal)
      : options_(options),
        out_(out),
        errors_(errors),
        rules_{options.csv, options.largest, options.strict},
        readings_(options.files, rules_),
        table_(options.format, options.levels),
        progress_(errors,
                  errorsOnTerminal && !options.quiet && analysisCount() > 1,
                  analysisCount()) {}

  int run() {
    out_ << table_.opening();
    runOrderedJobs<JobResult>(
        analysisCount(), options_.jobs, kWindowPerJob * options_.jobs,
        [this](std::size_t index) { return analyse(index); },
        [this](std::size_t index, JobResult result) {
          deliver(index, std::move(result));
        });
    progress_.erase();
    out_ << table_.closing() << std::flush;
    if (!out_) {
      errors_ << "talvik-batch: error: the table could not be written\n";
      return kSomeFailed;
    }
    return failed_ ? kSomeFailed : kAllSucceeded;
  }

 private:
  std::size_t analysisCount() const {
    return options_.files.size() * options_.seeds.size();
  }

  JobResult analyse(std::size_t index) {
    const std::size_t file = index / options_.seeds.size();
    JobResult result;
    result.row.file = options_.files[file];
    result.row.seed = options_.seeds[index % options_.seeds.size()];
    result.input = readings_.get(file);
    if (!result.input->errors.empty()) {
      result.row.error = errorCell(*result.input);
      return result;
    }
    result.row.numbers = analyseSizes(result.input->observed, result.row.seed,
                                      options_.levels, std::nullopt)
                             .numbers;
    return result;
  }

  // Rows and messages go out in the order of the arguments, whichever
  // thread finished first.
  void deliver(std::size_t index, JobResult result) {
    const std::size_t seed = index % options_.seeds.size();
    if (seed == 0) writeMessages(result.row.file, *result.input);
    if (seed + 1 == options_.seeds.size()) {
      readings_.release(index / options_.seeds.size());
    }
    if (!result.row.error.empty()) failed_ = true;
    out_ << table_.row(result.row);
    progress_.update(index + 1);
  }

  void writeMessages(const std::string& file, const InputSizes& input) {
    const bool warnings = !options_.quiet && !input.warnings.empty();
    if (!warnings && input.errors.empty()) return;
    progress_.erase();
    if (warnings) {
      for (const FileMessage& message : input.warnings) {
        errors_ << "talvik-batch: " << placeOf(file, message.line)
                << ": warning: " << message.text << "\n";
      }
    }
    for (const FileMessage& message : input.errors) {
      errors_ << "talvik-batch: " << placeOf(file, message.line)
              << ": error: " << message.text << "\n";
    }
    errors_ << std::flush;
  }

  const BatchOptions& options_;
  std::ostream& out_;
  std::ostream& errors_;
  SizeReadingRules rules_;
  SharedReadings readings_;
  ResultTable table_;
  ProgressLine progress_;
  bool failed_ = false;
};

}  // namespace

int runBatchCommand(const std::vector<std::string>& arguments,
                    std::ostream& out, std::ostream& errors,
                    bool errorsOnTerminal) {
  const ParsedArguments parsed =
      parseBatchArguments(arguments, std::thread::hardware_concurrency());
  switch (parsed.kind) {
    case ParsedArguments::Kind::kHelp:
      out << kBatchUsage;
      return kAllSucceeded;
    case ParsedArguments::Kind::kVersion:
      out << "talvik-batch " << TALVIK_VERSION << "\n";
      return kAllSucceeded;
    case ParsedArguments::Kind::kUsageError:
      errors << "talvik-batch: " << parsed.error << "\n";
      return kUsageError;
    case ParsedArguments::Kind::kRun:
      break;
  }
  BatchRun run(parsed.options, out, errors, errorsOnTerminal);
  return run.run();
}

int runBatchCommand(int argc, char** argv) {
  std::ios::sync_with_stdio(false);
  return runBatchCommand(std::vector<std::string>(argv + 1, argv + argc),
                         std::cout, std::cerr, standardErrorIsTerminal());
}

}  // namespace talvik
