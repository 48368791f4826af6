#include "batch/batch_outputs.h"

#include <cstddef>
#include <utility>

#include "batch/batch_messages.h"
#include "batch/output_files.h"
#include "session/console/folder.h"
#include "session/console/output_file.h"

namespace talvik {

BatchOutputs::BatchOutputs(const BatchOptions& options, std::ostream& out,
                           std::ostream& errors, ProgressLine& progress)
    : options_(options),
      out_(out),
      errors_(errors),
      progress_(progress),
      table_(
          options.format, options.levels,
          options.levelGiven ? std::optional(options.plotLevel) : std::nullopt),
      tableOutput_(errors, progress),
      chart_(options) {
  if (options.summary) {
    summary_.emplace(
        options.format, options.levels,
        options.levelGiven ? std::optional(options.plotLevel) : std::nullopt);
  }
}

bool BatchOutputs::start() {
  try {
    // The plot folder first: the table may go into it.
    if (!options_.plotFolder.empty()) makeFolder(options_.plotFolder);
    tableOutput_.open(options_.output, out_);
  } catch (const FileError& error) {
    report(error);
    failed_ = true;
    return false;
  }
  tableOutput_.write(summary_ ? summary_->opening() : table_.opening());
  return true;
}

void BatchOutputs::add(const AnalysisJob& job, AnalysisOutput output) {
  AnalysisRow& row = output.row;
  if (row.numbers && !options_.plotFolder.empty()) writePlots(job, output);
  if (!options_.chartFile.empty()) chart_.add(job, row);
  if (!row.error.empty()) failed_ = true;
  tableOutput_.write(summary_ ? summary_->add(row, job.lastOfFile)
                              : table_.row(row));
}

void BatchOutputs::finish() {
  tableOutput_.write(summary_ ? summary_->closing() : table_.closing());
  tableOutput_.finish();
  writeChart();
}

void BatchOutputs::writePlots(const AnalysisJob& job, AnalysisOutput& output) {
  const PlotFiles files = plotFilesOf(options_.plotFolder, job);
  try {
    replaceWholeFile(files.plottingFile, output.plottingFile);
    replaceWholeFile(files.picture, output.picture);
  } catch (const FileError& error) {
    report(error);
    output.row.numbers.reset();
    output.row.error = fileErrorCell(error);
  }
}

void BatchOutputs::writeChart() {
  if (options_.chartFile.empty()) return;
  try {
    OutputFile chart(options_.chartFile, &out_);
    chart.write(chart_.draw());
    chart.finish();
  } catch (const FileError& error) {
    report(error);
    failed_ = true;
  }
}

void BatchOutputs::report(const FileError& error) {
  progress_.erase();
  errors_ << fileErrorLine(error) << std::flush;
}

}  // namespace talvik
