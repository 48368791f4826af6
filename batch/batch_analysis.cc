#include "batch/batch_analysis.h"

#include <vector>

#include "analysis/bootstrap.h"
#include "analysis/resample_generator.h"
#include "batch/text_destination.h"
#include "reports/plotting_file.h"

namespace talvik {
namespace {

// The bound resample at `position`, drawn again from its recorded state; with
// no position to plot the column repeats the observed sizes.
std::vector<float> boundResample(std::optional<int> position,
                                 const ObservedSizes& observed,
                                 const BootstrapResult& result,
                                 ResampleGenerator& generator) {
  if (!position) return observed;
  return regenerateResample(generator, result.orderedState[*position - 1],
                            observed);
}

}  // namespace

BatchAnalysis analyseSizes(const ObservedSizes& observed, double seed,
                           std::span<const int> extraLevels,
                           std::optional<int> plotLevel) {
  BatchAnalysis analysis;
  AnalysisNumbers& numbers = analysis.numbers;
  numbers.settlements = static_cast<int>(observed.size());
  numbers.a = observedA(observed);
  ResampleGenerator generator(seed);
  const BootstrapResult result = runBootstrap(observed, generator, numbers.a);
  for (const int level : kFixedLevels) {
    numbers.ranges.push_back(errorRange(result, level));
  }
  for (const int level : extraLevels) {
    numbers.ranges.push_back(errorRange(result, level));
  }
  if (plotLevel) {
    const ErrorRange range = errorRange(result, *plotLevel);
    const std::vector<float> upper = boundResample(
        selectUpperResample(result, range), observed, result, generator);
    const std::vector<float> lower = boundResample(
        selectLowerResample(result, range), observed, result, generator);
    TextDestination plottingFile;
    writePlottingFile(plottingFile, observed, upper, lower);
    analysis.plottingFile = plottingFile.text();
  }
  return analysis;
}

}  // namespace talvik
