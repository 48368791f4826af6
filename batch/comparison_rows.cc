#include "batch/comparison_rows.h"

#include <utility>

#include "analysis/difference_bootstrap.h"
#include "batch/batch_messages.h"
#include "plot/comparison_chart.h"

namespace talvik {
namespace {

constexpr char kChartTitle[] = "Differences in the rank-size statistic A";

}  // namespace

std::string referenceError(const std::string& reference,
                           const InputSizes& input) {
  if (input.errors.empty()) return {};
  return "reference " + reference + " not analysed: " + errorCell(input);
}

ComparisonRow compareJob(const BatchOptions& options, const AnalysisJob& job,
                         const InputSizes& input, const InputSizes& reference,
                         const std::string& referenceErrorText) {
  ComparisonRow row;
  row.file = job.file;
  row.reference = options.files.front();
  row.seed = job.seed;
  if (!referenceErrorText.empty()) {
    row.error = referenceErrorText;
    return row;
  }
  if (!input.errors.empty()) {
    row.error = errorCell(input);
    return row;
  }
  const ObservedSizes& sizes = input.observed;
  const DifferenceResult difference = runDifferenceBootstrap(
      reference.observed, sizes, job.seed, options.resamples);
  ComparisonNumbers& numbers = row.numbers.emplace();
  numbers.settlements = static_cast<int>(sizes.size());
  numbers.referenceSettlements = static_cast<int>(reference.observed.size());
  numbers.difference = difference.observedDifference;
  numbers.resamples = options.resamples;
  for (const int level : kReportedLevels) {
    numbers.ranges.push_back(differenceRange(difference, level));
  }
  for (const int level : options.levels) {
    numbers.ranges.push_back(differenceRange(difference, level));
  }
  return row;
}

DifferenceChartRows::DifferenceChartRows(const BatchOptions& options)
    : labels_(fileLabels(options.files, options.labels)) {}

void DifferenceChartRows::add(const AnalysisJob& job,
                              const ComparisonRow& row) {
  // The jobs count the files after the reference, the labels all of them.
  const std::string& label = labels_[job.fileIndex + 1];
  if (!row.numbers) {
    if (notCompared_.empty() || notCompared_.back() != label) {
      notCompared_.push_back(label);
    }
    return;
  }
  const ComparisonNumbers& numbers = *row.numbers;
  ChartRow chartRow{
      withSeed(job, label), numbers.difference, {}, numbers.settlements};
  for (std::size_t i = 0; i < kChartLevels.size(); ++i) {
    chartRow.ranges[i] = {numbers.ranges[i].lower, numbers.ranges[i].upper};
  }
  rows_.push_back(std::move(chartRow));
}

std::string DifferenceChartRows::draw() const {
  return drawDifferenceChart(rows_, kChartTitle, labels_.front(), notCompared_);
}

}  // namespace talvik
