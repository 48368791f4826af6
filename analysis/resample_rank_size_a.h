#ifndef TALVIK_ANALYSIS_RESAMPLE_RANK_SIZE_A_H_
#define TALVIK_ANALYSIS_RESAMPLE_RANK_SIZE_A_H_

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
  // REQUIRES: sizes hold no NaN and never increase; 1 <= sizes.size()
  explicit ResampleRankSizeA(const ObservedSizes& sizes);

  // rankSizeA of the ordered resample whose rank i holds
  // orderedSize(sizes[positionByRank[i]]).
  // REQUIRES: positionByRank rises, has sizes.size() entries within 0..n-1
  float of(std::span<const int> positionByRank);

  // rankSizeA of the ordered resample drawn for this list.
  // REQUIRES: resample was drawn with sizes.size() positions
  float of(const CountedResample& resample);

 private:
  // The size axis of one largest size, and every size placed on it.
  struct Scale {
    NormalisedSizeAxis axis;
    std::vector<float> sizes;
  };

  const Scale& scaleFor(int largestPosition);
  // The area of the resample whose placed sizes by rank are in sizeByRank_.
  float area(const Scale& scale);

  std::vector<float> ordered_;
  std::vector<float> logSizes_;
  std::vector<float> stripWidth_;
  // For each position, the first position holding the same size.
  std::vector<int> firstOfSize_;
  std::vector<std::optional<Scale>> scales_;
  // Working space of one resample: its placed sizes by rank (with the slack
  // that spread writes) and the negative and positive products.
  std::vector<float> sizeByRank_;
  std::vector<float> negativeProducts_;
  std::vector<float> positiveProducts_;
};

}  // namespace talvik

#endif  // TALVIK_ANALYSIS_RESAMPLE_RANK_SIZE_A_H_
