#ifndef TALVIK_ANALYSIS_COUNTED_RESAMPLE_H_
#define TALVIK_ANALYSIS_COUNTED_RESAMPLE_H_

#include <span>
#include <vector>

#include "analysis/resample_generator.h"

namespace talvik {

// One resample of a list ordered largest first, ordered by counting how often
// each position was drawn instead of by repeated selection. The draws use an
// integer generator step whenever the state is a whole number in range.
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
    return std::span<const int>(positionByRank_).first(counts_.size());
  }

 private:
  // Slots written for every position at once (see rankPositions).
  static constexpr int kCopies = 4;

  void countDraws(ResampleGenerator& generator);
  void rankPositions();

  std::vector<int> counts_;
  // kCopies slots more than the ranks, written past the last rank.
  std::vector<int> positionByRank_;
};

}  // namespace talvik

#endif  // TALVIK_ANALYSIS_COUNTED_RESAMPLE_H_
