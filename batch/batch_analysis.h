#ifndef TALVIK_BATCH_BATCH_ANALYSIS_H_
#define TALVIK_BATCH_BATCH_ANALYSIS_H_

#include <optional>
#include <span>
#include <string>

#include "analysis/observed_sizes.h"
#include "batch/result_table.h"

namespace talvik {

// The level plotted when no --level is given.
inline constexpr int kDefaultPlotLevel = 90;

// What one analysis gives: the table's numbers and, when asked for, the
// records of the plotting file.
struct BatchAnalysis {
  AnalysisNumbers numbers;
  std::string plottingFile;  // empty unless a plot level was given
};

// Analyses the sizes with one seed by the dialogue's own steps, so that the
// numbers and the plotting file are the dialogue's, bit for bit: A, the
// bootstrap, the ranges of the reported levels, then of `extraLevels`, and
// the plotting file of `plotLevel`.
// REQUIRES: 1 <= observed.size() <= kMaxSettlements, isUsableSeed(seed),
//           every level from 1 to 99
BatchAnalysis analyseSizes(const ObservedSizes& observed, double seed,
                           std::span<const int> extraLevels,
                           std::optional<int> plotLevel);

}  // namespace talvik

#endif  // TALVIK_BATCH_BATCH_ANALYSIS_H_
