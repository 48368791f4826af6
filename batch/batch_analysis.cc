#include "batch/batch_analysis.h"

#include <vector>

#include "analysis/bootstrap.h"
#include "analysis/resample_generator.h"
#include "plot/plotting_rows.h"
#include "plot/svg_graph.h"
#include "reports/plotting_file.h"
#include "reports/results_report.h"
#include "session/console/text_destination.h"

namespace talvik {

BatchAnalysis analyseSizes(const ObservedSizes& observed, double seed,
                           int resamples, std::span<const int> extraLevels,
                           const std::optional<PlotRequest>& plot) {
  BatchAnalysis analysis;
  AnalysisNumbers& numbers = analysis.numbers;
  numbers.settlements = static_cast<int>(observed.size());
  numbers.resamples = resamples;
  numbers.a = observedA(observed);
  ResampleGenerator generator(seed);
  const BootstrapResult result =
      runBootstrap(observed, generator, numbers.a, resamples);
  for (const int level : kReportedLevels) {
    numbers.ranges.push_back(errorRange(result, level));
  }
  for (const int level : extraLevels) {
    numbers.ranges.push_back(errorRange(result, level));
  }
  if (!plot) return analysis;

  TextDestination screen;
  TextDestination resultsFile;
  reportObservedA(screen, resultsFile, numbers.a, numbers.settlements);
  reportErrorRanges(screen, resultsFile, result, {});
  analysis.resultsFile = resultsFile.text();

  TextDestination plottingFile;
  writePlottingFile(plottingFile, observed,
                    analyseLevel(observed, result, generator, plot->level));
  analysis.plottingFile = plottingFile.text();
  // The picture is drawn from the plotting file's own text, exactly as
  // talvik-plot would draw that file.
  const std::vector<PlottingRow> rows =
      readPlottingRows(analysis.plottingFile, plot->title);
  analysis.picture = drawRankSizeGraph(
      rows, {plot->title, plot->level, numbers.a, plot->unit});
  return analysis;
}

}  // namespace talvik
