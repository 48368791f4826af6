#ifndef TALVIK_ANALYSIS_COUNTED_RESAMPLE_H_
#define TALVIK_ANALYSIS_COUNTED_RESAMPLE_H_

#include <cstdint>
#include <span>
#include <vector>

#include "analysis/index_look_ahead.h"
#include "analysis/resample_generator.h"

namespace talvik {

// One resample of a list ordered largest first, ordered by counting how often
// each position was drawn instead of by repeated selection. The draws use the
// integer look-ahead whenever the state is a whole number in range.
class CountedResample {
 public:
  // REQUIRES: 1 <= n <= 1000
  explicit CountedResample(int n);

  // Draws the n positions of the next resample, leaving the generator in the
  // state the double step would leave it in.
  void draw(ResampleGenerator& generator);

  // The position (from 0) of the size at each rank (from 0) of the ordered
  // resample: the drawn positions in rising order, repeats included.
  std::span<const int> positionByRank() const {
    return std::span<const int>(positionByRank_).first(counts_.size() - 1);
  }

 private:
  // Slots written for every position at once (see rankPositions).
  static constexpr int kCopies = 4;

  void countDraws(ResampleGenerator& generator);
  void rankPositions();

  // For each position, the draws that took it; the last entry is a scratch
  // count of steps thrown away.
  std::vector<std::uint16_t> counts_;
  IndexLookAhead lookAhead_;
  // kCopies slots more than the ranks, written past the last rank.
  std::vector<int> positionByRank_;
};

}  // namespace talvik

#endif  // TALVIK_ANALYSIS_COUNTED_RESAMPLE_H_
