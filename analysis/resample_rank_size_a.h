#ifndef TALVIK_ANALYSIS_RESAMPLE_RANK_SIZE_A_H_
#define TALVIK_ANALYSIS_RESAMPLE_RANK_SIZE_A_H_

#include <array>
#include <cstddef>
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
  // another, and a vector holds one rank of all of them.
  static constexpr int kBatch = 8;

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
  // REQUIRES: every slot taken
  std::array<float, kBatch> batchAs() const;

 private:
  // Every size placed on the size axis of one largest size, and that axis's
  // reference line padded with zeros to whole vectors of ranks.
  struct Scale {
    std::vector<float> sizes;
    std::vector<float> line;
  };

  const Scale& scaleFor(int largestPosition);

  std::vector<float> ordered_;
  std::vector<float> logSizes_;
  // The strip widths, padded with zeros like the lines.
  std::vector<float> stripWidth_;
  // For each position, the first position holding the same size.
  std::vector<int> firstOfSize_;
  std::vector<std::optional<Scale>> scales_;
  // The ranks rounded up to whole vectors, and the room of one slot's sizes:
  // those ranks and the slack that spread writes.
  std::size_t paddedRanks_;
  std::size_t slotRoom_;
  // Each slot's placed sizes by rank, and its reference line.
  std::vector<float> sizeByRank_;
  std::array<const float*, kBatch> slotLine_{};
};

}  // namespace talvik

#endif  // TALVIK_ANALYSIS_RESAMPLE_RANK_SIZE_A_H_
