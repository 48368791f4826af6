#ifndef TALVIK_BATCH_BATCH_ANALYSIS_H_
#define TALVIK_BATCH_BATCH_ANALYSIS_H_

#include <optional>
#include <span>
#include <string>

#include "analysis/observed_sizes.h"
#include "batch/table_rows.h"

namespace talvik {

// The level plotted when no --level is given.
inline constexpr int kDefaultPlotLevel = 90;

// What to draw besides the numbers: the plotting file of `level` and its
// picture, titled `title`, its sizes in `unit` (none when empty).
struct PlotRequest {
  int level = kDefaultPlotLevel;
  std::string title;
  std::string unit;
};

// What one analysis gives: the table's numbers and, when plots are asked
// for, the plotting file's records, its picture and the results file the
// dialogue writes of the same analysis.
struct BatchAnalysis {
  AnalysisNumbers numbers;
  std::string plottingFile;
  std::string picture;
  std::string resultsFile;
};

// Analyses the sizes with one seed by the dialogue's own steps, so that with
// 1000 resamples the numbers and the plotting file are the dialogue's, bit
// for bit: A, the bootstrap, the ranges of the reported levels, then of
// `extraLevels`, and the plotting file of the plot's level with its
// rank-size graph.
// REQUIRES: 1 <= observed.size() <= kMaxSettlements, isUsableSeed(seed),
//           every level from 1 to 99, isResampleCount(resamples)
BatchAnalysis analyseSizes(const ObservedSizes& observed, double seed,
                           int resamples, std::span<const int> extraLevels,
                           const std::optional<PlotRequest>& plot);

}  // namespace talvik

#endif  // TALVIK_BATCH_BATCH_ANALYSIS_H_
