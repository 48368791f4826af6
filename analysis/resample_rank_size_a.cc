#include "analysis/resample_rank_size_a.h"

#include <cstddef>
#include <utility>

#include "analysis/counted_resample.h"
#include "analysis/rank_size_a.h"

namespace talvik {

/* rankSizeA for the resamples of one list, bit for bit. Every value rankSizeA
   computes for a rank is the same float operation on the same operands here;
   only where it is computed changes. The reference line and its span and
   offset depend only on the resample's largest size and n; the logarithm of
   a size only on the size, and its normalised value only on that logarithm
   and the span and offset; the rank axis and the strip widths only on n. So
   those are computed once per run, the reference line and the normalised
   sizes once per distinct largest size (resamples mostly share the few
   largest), and a resample costs one deviation, product and sum per rank.
   A change to rankSizeA must be made here too; the tests compare the two. */
ResampleRankSizeA::ResampleRankSizeA(const ObservedSizes& sizes)
    : ordered_(sizes.size()),
      logSizes_(sizes.size()),
      stripWidth_(stripWidths(sizes.size())),
      firstOfSize_(sizes.size()),
      scales_(sizes.size()) {
  const std::size_t n = sizes.size();
  for (std::size_t p = 0; p < n; ++p) {
    ordered_[p] = orderedSize(sizes[p]);
    logSizes_[p] = log10Of(ordered_[p]);
    firstOfSize_[p] = p > 0 && ordered_[p] == ordered_[p - 1]
                          ? firstOfSize_[p - 1]
                          : static_cast<int>(p);
  }
}

const ResampleRankSizeA::Scale& ResampleRankSizeA::scaleFor(
    int largestPosition) {
  std::optional<Scale>& scale = scales_[firstOfSize_[largestPosition]];
  if (scale) return *scale;

  const std::size_t n = ordered_.size();
  const float largest = ordered_[largestPosition];
  std::vector<float> referenceLine(n);
  for (std::size_t i = 0; i < n; ++i) {
    referenceLine[i] = largest / static_cast<float>(i + 1);
  }
  for (float& value : referenceLine) value = log10Of(value);
  const float logSpan = referenceLine[0] - referenceLine[n - 1];
  const float offset = referenceLine[n - 1] / logSpan;
  for (float& value : referenceLine) {
    value = kAxisScale * ((value / logSpan) - offset);
  }
  std::vector<float> normalised(n);
  for (std::size_t p = 0; p < n; ++p) {
    normalised[p] = kAxisScale * ((logSizes_[p] / logSpan) - offset);
  }
  return scale.emplace(Scale{std::move(referenceLine), std::move(normalised)});
}

float ResampleRankSizeA::of(std::span<const int> positionByRank) {
  const Scale& scale = scaleFor(positionByRank[0]);
  float negativeArea = 0.0f;
  float positiveArea = 0.0f;
  for (std::size_t i = 0; i < positionByRank.size(); ++i) {
    const float deviation =
        scale.sizes[positionByRank[i]] - scale.referenceLine[i];
    const float product = deviation * stripWidth_[i];
    if (product < 0) negativeArea = negativeArea + product;
    if (product > 0) positiveArea = positiveArea + product;
  }
  return positiveArea + negativeArea;
}

}  // namespace talvik
