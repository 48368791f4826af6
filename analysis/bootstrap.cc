#include "analysis/bootstrap.h"

#include <cassert>
#include <cstddef>

#include "analysis/fast_bootstrap.h"
#include "analysis/literal_bootstrap.h"
#include "analysis/nan_sign.h"
#include "analysis/rank_size_a.h"
#include "analysis/resample_generator.h"

namespace talvik {

bool isResampleCount(int resamples) {
  return resamples >= kResampleCount && resamples <= kMaxResampleCount &&
         resamples % kResampleCount == 0;
}

float observedA(const ObservedSizes& sizes) {
  std::vector<float> working = sizes;
  return rankSizeA(working);
}

// The fast passes serve wherever they are exact, and the sort always; the
// results are the same bits as the literal bootstrap's.
BootstrapResult runBootstrap(const ObservedSizes& sizes,
                             ResampleGenerator& generator, float observedA,
                             int resamples) {
  assert(!sizes.empty() &&
         sizes.size() <= static_cast<std::size_t>(kMaxSettlements));
  assert(isResampleCount(resamples));
  PassRecords passes = fastPassesAreExact(sizes)
                           ? runFastPasses(sizes, generator, resamples)
                           : runLiteralPasses(sizes, generator, resamples);
  return summarizeBySort(passes, observedA);
}

// N is a whole number of thousands, so both terms are whole.
BoundPositions boundPositions(int level, int resamples) {
  assert(level >= 1 && level <= 99);
  assert(isResampleCount(resamples));
  const int upper = resamples / 2 - level * (resamples / 200);
  return {upper, resamples + 1 - upper};
}

ErrorRange rangeOfOrdered(std::span<const float> ordered, float shift,
                          int level) {
  const BoundPositions positions =
      boundPositions(level, static_cast<int>(ordered.size()));
  const float upper = ordered[positions.upper - 1];
  const float lower = ordered[positions.lower - 1];
  return {.level = level,
          .lower = pinNaNSign(lower + shift),
          .upper = pinNaNSign(upper + shift),
          .width = pinNaNSign(upper - lower)};
}

ErrorRange errorRange(const BootstrapResult& result, int level) {
  return rangeOfOrdered(result.orderedA, result.shift, level);
}

// Both scans compare the unshifted value with the shifted bound and pass over
// marked resamples. When no position meets the bound, the scan's last
// unmarked position, the one nearest to meeting it, is chosen.
std::optional<int> selectUpperResample(const BootstrapResult& result,
                                       const ErrorRange& range) {
  std::optional<int> lastUnmarked;
  for (int position = 1; position <= result.resamples(); ++position) {
    if (isMarkedState(result.orderedState[position - 1])) continue;
    if (result.orderedA[position - 1] <= range.upper) return position;
    lastUnmarked = position;
  }
  return lastUnmarked;
}

// Position N, the last, is never examined.
std::optional<int> selectLowerResample(const BootstrapResult& result,
                                       const ErrorRange& range) {
  std::optional<int> lastUnmarked;
  for (int position = result.resamples() - 1; position >= 1; --position) {
    if (isMarkedState(result.orderedState[position - 1])) continue;
    if (result.orderedA[position - 1] >= range.lower) return position;
    lastUnmarked = position;
  }
  return lastUnmarked;
}

std::vector<float> regenerateResample(ResampleGenerator& generator,
                                      double state,
                                      const ObservedSizes& sizes) {
  assert(!isMarkedState(state));
  generator.setState(state);
  return fastPassesAreExact(sizes) ? drawCountedResample(generator, sizes)
                                   : drawOrderedResample(generator, sizes);
}

namespace {

// The bound resample at `position`, drawn again from its recorded state. With
// no position to plot (every one examined lacks the largest size) the column
// repeats the observed sizes.
std::vector<float> boundResample(std::optional<int> position,
                                 const ObservedSizes& sizes,
                                 const BootstrapResult& result,
                                 ResampleGenerator& generator) {
  if (!position) return sizes;
  return regenerateResample(generator, result.orderedState[*position - 1],
                            sizes);
}

}  // namespace

LevelAnalysis analyseLevel(const ObservedSizes& sizes,
                           const BootstrapResult& result,
                           ResampleGenerator& generator, int level) {
  LevelAnalysis analysis;
  analysis.range = errorRange(result, level);
  analysis.referenceLine = referenceLine(sizes[0], sizes.size());
  analysis.upperResample = boundResample(
      selectUpperResample(result, analysis.range), sizes, result, generator);
  analysis.lowerResample = boundResample(
      selectLowerResample(result, analysis.range), sizes, result, generator);
  return analysis;
}

}  // namespace talvik
