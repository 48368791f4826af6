#include "batch/batch_analysis.h"

#include "analysis/bootstrap.h"
#include "analysis/resample_generator.h"
#include "batch/text_destination.h"
#include "reports/plotting_file.h"

namespace talvik {

BatchAnalysis analyseSizes(const ObservedSizes& observed, double seed,
                           std::span<const int> extraLevels,
                           std::optional<int> plotLevel) {
  BatchAnalysis analysis;
  AnalysisNumbers& numbers = analysis.numbers;
  numbers.settlements = static_cast<int>(observed.size());
  numbers.a = observedA(observed);
  ResampleGenerator generator(seed);
  const BootstrapResult result = runBootstrap(observed, generator, numbers.a);
  for (const int level : kReportedLevels) {
    numbers.ranges.push_back(errorRange(result, level));
  }
  for (const int level : extraLevels) {
    numbers.ranges.push_back(errorRange(result, level));
  }
  if (plotLevel) {
    TextDestination plottingFile;
    writePlottingFile(plottingFile, observed,
                      analyseLevel(observed, result, generator, *plotLevel));
    analysis.plottingFile = plottingFile.text();
  }
  return analysis;
}

}  // namespace talvik
