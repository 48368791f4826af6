#ifndef TALVIK_PLOT_CHART_ROW_H_
#define TALVIK_PLOT_CHART_ROW_H_

#include <array>
#include <string>

#include "analysis/bootstrap.h"

namespace talvik {

// The confidence levels of the error ranges, widest first: the ones every
// analysis reports.
inline constexpr auto kChartLevels = kReportedLevels;

// The bounds of A at one confidence level.
struct ARange {
  double lower = 0.0;
  double upper = 0.0;
};

// One analysis: a size file, with its seed when several seeds run.
struct ChartRow {
  std::string label;
  double a = 0.0;
  std::array<ARange, kChartLevels.size()> ranges;  // in kChartLevels order
  int places = 0;                                  // the sizes analysed
};

}  // namespace talvik

#endif  // TALVIK_PLOT_CHART_ROW_H_
