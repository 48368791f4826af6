#include "analysis/resample_rank_size_a.h"

#include <cstddef>
#include <utility>

#include "analysis/counted_resample.h"
#include "analysis/observed_sizes.h"
#include "analysis/rank_size_a.h"

namespace talvik {

/* rankSizeA for the resamples of one list, bit for bit. Both build on the
   same NormalisedSizeAxis, strip widths and SignedArea, so every value is the
   same float operation on the same operands; only where it is computed
   changes. The axis depends only on the resample's largest size and n; the
   logarithm of a size only on the size, and its place only on that
   logarithm and the axis; the strip widths only on n. So those are computed
   once per run, the axis and the placed sizes once per distinct largest size
   (resamples mostly share the few largest), and a resample costs one
   deviation, product and sum per rank. */
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
  NormalisedSizeAxis axis(ordered_[largestPosition], n);
  std::vector<float> placed(n);
  for (std::size_t p = 0; p < n; ++p) placed[p] = axis.place(logSizes_[p]);
  return scale.emplace(Scale{std::move(axis), std::move(placed)});
}

float ResampleRankSizeA::of(std::span<const int> positionByRank) {
  const Scale& scale = scaleFor(positionByRank[0]);
  const std::vector<float>& line = scale.axis.referenceLine();
  SignedArea area;
  for (std::size_t i = 0; i < positionByRank.size(); ++i) {
    area.add(scale.sizes[positionByRank[i]] - line[i], stripWidth_[i]);
  }
  return area.total();
}

}  // namespace talvik
