#include "batch/chart_rows.h"

#include <utility>

#include "plot/comparison_chart.h"

namespace talvik {
namespace {

constexpr char kChartTitle[] = "Rank-size statistic A and its error ranges";

}  // namespace

ChartRows::ChartRows(const BatchOptions& options)
    : fileLabels_(fileLabels(options.files, options.labels)) {}

void ChartRows::add(const AnalysisJob& job, const AnalysisRow& row) {
  if (row.numbers) {
    const AnalysisNumbers& numbers = *row.numbers;
    ChartRow chartRow{withSeed(job, fileLabels_[job.fileIndex]),
                      numbers.a,
                      {},
                      numbers.settlements};
    for (std::size_t i = 0; i < kChartLevels.size(); ++i) {
      const ErrorRange& range = numbers.ranges[i];
      chartRow.ranges[i] = {range.lower, range.upper};
    }
    rows_.push_back(std::move(chartRow));
  }
  // A file whose every seed failed is named once.
  if (!row.error.empty() && (notAnalysedFiles_.empty() ||
                             notAnalysedFiles_.back() != job.fileIndex)) {
    notAnalysedFiles_.push_back(job.fileIndex);
  }
}

std::string ChartRows::draw() const {
  std::vector<std::string> notAnalysed;
  for (const std::size_t index : notAnalysedFiles_) {
    notAnalysed.push_back(fileLabels_[index]);
  }
  return drawComparisonChart(rows_, kChartTitle, notAnalysed);
}

}  // namespace talvik
