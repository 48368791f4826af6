#include "analysis/resample_rank_size_a.h"

#include <cstddef>
#include <utility>

#include "analysis/counted_resample.h"
#include "analysis/observed_sizes.h"
#include "analysis/rank_size_a.h"

namespace talvik {

/* rankSizeA for the resamples of one list, bit for bit. Both build on the
   same NormalisedSizeAxis and strip widths and sum as SignedArea does (see
   area below), so every value is the same float operation on the same
   operands; only where it is computed changes. The axis depends only on the resample's largest size and n; the
   logarithm of a size only on the size, and its place only on that
   logarithm and the axis; the strip widths only on n. So those are computed
   once per run, the axis and the placed sizes once per distinct largest size
   (resamples mostly share the few largest), and a resample costs one
   deviation, product and addition to each sum per rank. */
ResampleRankSizeA::ResampleRankSizeA(const ObservedSizes& sizes)
    : ordered_(sizes.size()),
      logSizes_(sizes.size()),
      stripWidth_(stripWidths(sizes.size())),
      firstOfSize_(sizes.size()),
      scales_(sizes.size()),
      sizeByRank_(sizes.size() + CountedResample::kSpreadSlack),
      negativeProducts_(sizes.size()),
      positiveProducts_(sizes.size()) {
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
  NormalisedSizeAxis axis(ordered_[largestPosition], n);
  std::vector<float> placed(n);
  for (std::size_t p = 0; p < n; ++p) placed[p] = axis.place(logSizes_[p]);
  return scale.emplace(Scale{std::move(axis), std::move(placed)});
}

float ResampleRankSizeA::of(std::span<const int> positionByRank) {
  const Scale& scale = scaleFor(positionByRank[0]);
  for (std::size_t i = 0; i < positionByRank.size(); ++i) {
    sizeByRank_[i] = scale.sizes[positionByRank[i]];
  }
  return area(scale);
}

float ResampleRankSizeA::of(const CountedResample& resample) {
  const Scale& scale = scaleFor(resample.firstPosition());
  resample.spread([&scale](int p) { return scale.sizes[p]; },
                  std::span<float>(sizeByRank_));
  return area(scale);
}

/* The area as SignedArea sums it, in two passes. SignedArea adds a product
   to the negative sum when it is below zero and to the positive sum when it
   is above, rank by rank. The first pass forms every product, the same
   operations on the same operands, and keeps for each sum the product or
   +0.0: a loop of independent operations, which vectorises. The second adds
   them all in rank order. Adding +0.0 leaves a float's bits as they are
   unless it is -0.0, which neither sum ever is: both start at +0.0 and gain
   only nonzero values of one sign, whose sum never rounds to zero; zero and
   not-a-number products add +0.0 to both, as they fall through both tests
   there. */
float ResampleRankSizeA::area(const Scale& scale) {
  const std::size_t n = ordered_.size();
  const float* const sizes = sizeByRank_.data();
  const float* const line = scale.axis.referenceLine().data();
  const float* const width = stripWidth_.data();
  float* const negative = negativeProducts_.data();
  float* const positive = positiveProducts_.data();
  for (std::size_t i = 0; i < n; ++i) {
    const float product = (sizes[i] - line[i]) * width[i];
    negative[i] = product < 0.0f ? product : 0.0f;
    positive[i] = product > 0.0f ? product : 0.0f;
  }
  float negativeSum = 0.0f;
  float positiveSum = 0.0f;
#pragma GCC unroll 8
  for (std::size_t i = 0; i < n; ++i) {
    negativeSum = negativeSum + negative[i];
    positiveSum = positiveSum + positive[i];
  }
  return positiveSum + negativeSum;
}

}  // namespace talvik
