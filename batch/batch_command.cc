#include "batch/batch_command.h"

#include <iostream>
#include <memory>
#include <optional>
#include <string_view>
#include <thread>

#include "batch/batch_analysis.h"
#include "batch/batch_options.h"
#include "batch/input_sizes.h"
#include "batch/option_values.h"
#include "batch/ordered_jobs.h"
#include "batch/output_files.h"
#include "batch/progress_line.h"
#include "batch/result_table.h"
#include "batch/shared_readings.h"
#include "plot/comparison_chart.h"
#include "session/console/folder.h"
#include "session/console/terminal.h"
#include "session/console/whole_file.h"

namespace talvik {
namespace {

constexpr int kAllSucceeded = 0;
constexpr int kSomeFailed = 1;
constexpr int kUsageError = 2;

// Jobs started per thread ahead of the next row to write: enough to keep
// every thread busy while one analysis takes longer than the others.
constexpr std::size_t kWindowPerJob = 8;

constexpr char kChartTitle[] = "Rank-size statistic A and its error ranges";

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

// "cannot write: No space left on device", for a file that was not written.
std::string fileErrorText(const FileError& error) {
  switch (error.operation) {
    case FileOperation::kOpening:
      return "cannot open: " + error.reason;
    case FileOperation::kReading:
      return "cannot read: " + error.reason;
    case FileOperation::kCreating:
      return "cannot create: " + error.reason;
    case FileOperation::kWriting:
      return "cannot write: " + error.reason;
    case FileOperation::kPuttingInPlace:
      return "cannot put in place: " + error.reason;
  }
  return error.reason;
}

// What one job gives: the row, its plot files, and the file's reading,
// whose messages are written with the file's first row.
struct JobResult {
  AnalysisRow row;
  std::string plottingFile;
  std::string picture;
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
    if (!makePlotFolder()) return kSomeFailed;
    writeTable(table_.opening());
    runOrderedJobs<JobResult>(
        analysisCount(), options_.jobs, kWindowPerJob * options_.jobs,
        [this](std::size_t index) { return analyse(index); },
        [this](std::size_t index, JobResult result) {
          deliver(index, std::move(result));
        });
    progress_.erase();
    writeTable(table_.closing());
    finishTable();
    writeChart();
    return failed_ ? kSomeFailed : kAllSucceeded;
  }

 private:
  std::size_t analysisCount() const {
    return options_.files.size() * options_.seeds.size();
  }
  bool severalSeeds() const { return options_.seeds.size() > 1; }

  bool makePlotFolder() {
    if (options_.plotFolder.empty()) return true;
    try {
      makeFolder(options_.plotFolder);
      return true;
    } catch (const FileError& error) {
      reportFileError(error);
      return false;
    }
  }

  // The title of a picture or the label of a chart row: the file, and the
  // seed when several run.
  std::string nameOf(const AnalysisRow& row) const {
    std::string name = row.file;
    if (severalSeeds()) {
      name += ", seed ";
      name += seedText(row.seed);
    }
    return name;
  }

  JobResult analyse(std::size_t index) {
    const std::size_t file = index / options_.seeds.size();
    JobResult result;
    AnalysisRow& row = result.row;
    row.file = options_.files[file];
    row.seed = options_.seeds[index % options_.seeds.size()];
    result.input = readings_.get(file);
    if (!result.input->errors.empty()) {
      row.error = errorCell(*result.input);
      return result;
    }
    std::optional<PlotRequest> plot;
    if (!options_.plotFolder.empty()) {
      plot = PlotRequest{
          options_.levels.empty() ? kDefaultPlotLevel : options_.levels[0],
          "Rank-size graph of "};
      plot->title += nameOf(row);
    }
    BatchAnalysis analysis =
        analyseSizes(result.input->observed, row.seed, options_.levels, plot);
    row.numbers = std::move(analysis.numbers);
    result.plottingFile = std::move(analysis.plottingFile);
    result.picture = std::move(analysis.picture);
    return result;
  }

  // Rows, files and messages go out in the order of the arguments,
  // whichever thread finished first; only this one thread writes files.
  void deliver(std::size_t index, JobResult result) {
    const std::size_t seed = index % options_.seeds.size();
    if (seed == 0) writeMessages(result.row.file, *result.input);
    if (seed + 1 == options_.seeds.size()) {
      readings_.release(index / options_.seeds.size());
    }
    AnalysisRow& row = result.row;
    if (row.numbers && !options_.plotFolder.empty()) writePlots(result);
    if (row.numbers && !options_.chartFile.empty()) addChartRow(row);
    if (!row.error.empty()) failed_ = true;
    writeTable(table_.row(row));
    progress_.update(index + 1);
  }

  void writePlots(JobResult& result) {
    const PlotFiles files = plotFilesOf(options_.plotFolder, result.row.file,
                                        result.row.seed, severalSeeds());
    try {
      replaceWholeFile(files.plottingFile, result.plottingFile);
      replaceWholeFile(files.picture, result.picture);
    } catch (const FileError& error) {
      reportFileError(error);
      result.row.numbers.reset();
      result.row.error = error.path + ": " + fileErrorText(error);
    }
  }

  void addChartRow(const AnalysisRow& row) {
    ChartRow chartRow{nameOf(row), row.numbers->a, {}};
    for (std::size_t i = 0; i < kChartLevels.size(); ++i) {
      const ErrorRange& range = row.numbers->ranges[i];
      chartRow.ranges[i] = {range.lower, range.upper};
    }
    chartRows_.push_back(std::move(chartRow));
  }

  void writeChart() {
    if (options_.chartFile.empty()) return;
    try {
      replaceWholeFile(options_.chartFile,
                       drawComparisonChart(chartRows_, kChartTitle));
    } catch (const FileError& error) {
      reportFileError(error);
      failed_ = true;
    }
  }

  // Standard output gets the table as it grows; an output file gets it
  // whole at the end, so that it is never left half written.
  void writeTable(const std::string& text) {
    if (options_.output.empty()) {
      out_ << text;
    } else {
      tableText_ += text;
    }
  }

  void finishTable() {
    if (options_.output.empty()) {
      out_.flush();
      if (!out_) {
        errors_ << "talvik-batch: error: the table could not be written to "
                   "standard output\n";
        failed_ = true;
      }
      return;
    }
    try {
      replaceWholeFile(options_.output, tableText_);
    } catch (const FileError& error) {
      reportFileError(error);
      failed_ = true;
    }
  }

  void reportFileError(const FileError& error) {
    progress_.erase();
    errors_ << "talvik-batch: " << error.path
            << ": error: " << fileErrorText(error) << std::endl;
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
  std::string tableText_;
  std::vector<ChartRow> chartRows_;
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
  const std::string clash = outputClash(parsed.options);
  if (!clash.empty()) {
    errors << "talvik-batch: " << clash << "\n";
    return kUsageError;
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
