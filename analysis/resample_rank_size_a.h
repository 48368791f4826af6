#ifndef TALVIK_ANALYSIS_RESAMPLE_RANK_SIZE_A_H_
#define TALVIK_ANALYSIS_RESAMPLE_RANK_SIZE_A_H_

#include <array>
#include <optional>
#include <span>
#include <vector>

#include "analysis/counted_resample.h"
#include "analysis/observed_sizes.h"
#include "analysis/rank_size_a.h"

namespace talvik {

// rankSizeA of the resamples of one list, bit for bit, with the work that the
// resamples share done once per run.
class ResampleRankSizeA {
 public:
  // The resamples whose sums are added up side by side. Each addition of a
  // sum waits for the one before it; a batch's sums do not wait for one
  // another.
  static constexpr int kBatch = 4;

  // REQUIRES: sizes hold no NaN and never increase; 1 <= sizes.size()
  explicit ResampleRankSizeA(const ObservedSizes& sizes);

  // rankSizeA of the ordered resample whose rank i holds
  // orderedSize(sizes[positionByRank[i]]).
  // REQUIRES: positionByRank rises, has sizes.size() entries within 0..n-1
  float of(std::span<const int> positionByRank);

  // Takes the resample just drawn as the one in `slot` of the batch that
  // batchAs sums.
  // REQUIRES: resample drawn with sizes.size() positions; 0 <= slot < kBatch
  void take(const CountedResample& resample, int slot);

  // rankSizeA of the resample last taken into each slot.
  std::array<float, kBatch> batchAs() const;

 private:
  // The size axis of one largest size, and every size placed on it.
  struct Scale {
    NormalisedSizeAxis axis;
    std::vector<float> sizes;
  };

  const Scale& scaleFor(int largestPosition);

  std::vector<float> ordered_;
  std::vector<float> logSizes_;
  std::vector<float> stripWidth_;
  // For each position, the first position holding the same size.
  std::vector<int> firstOfSize_;
  std::vector<std::optional<Scale>> scales_;
  // The placed sizes by rank of the resample being taken, with the slack
  // that spread writes.
  std::vector<float> sizeByRank_;
  // Each slot's negative and positive products, n apiece.
  std::vector<float> negativeProducts_;
  std::vector<float> positiveProducts_;
};

}  // namespace talvik

#endif  // TALVIK_ANALYSIS_RESAMPLE_RANK_SIZE_A_H_
