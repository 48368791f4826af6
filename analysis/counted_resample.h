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
  // The slots past the last rank that spread writes.
  static constexpr int kSpreadSlack = 8;

  // REQUIRES: 1 <= n <= 1000
  explicit CountedResample(int n);

  // Draws the n positions of the next resample, leaving the generator in the
  // state the double step would leave it in.
  void draw(ResampleGenerator& generator);

  // The smallest position drawn, which holds the resample's largest size.
  int firstPosition() const;

  // Lays out valueOf(p) for the drawn positions p in rising order, once for
  // each draw: byRank[i] for the rank i (from 0) of the ordered resample.
  // Overwrites the kSpreadSlack slots after the last rank. Always inlined,
  // so that an AVX2 build of a loop that calls it compiles it for AVX2 too.
  // REQUIRES: byRank.size() >= n + kSpreadSlack
  template <typename T, typename ValueOf>
  [[gnu::always_inline]] void spread(ValueOf valueOf,
                                     std::span<T> byRank) const;

  // The position (from 0) of the size at each rank (from 0) of the ordered
  // resample: the drawn positions in rising order, repeats included. Laid out
  // anew on each call; valid until the next.
  std::span<const int> positionByRank() const;

 private:
  int size() const { return static_cast<int>(counts_.size()) - 1; }
  void countDraws(ResampleGenerator& generator);

  // For each position, the draws that took it; the last entry is a scratch
  // count of steps thrown away.
  std::vector<std::uint16_t> counts_;
  // The most draws that took one position.
  std::uint16_t mostDraws_ = 0;
  IndexLookAhead lookAhead_;
  mutable std::vector<int> positionByRank_;
};

/* Position p's draws take the ranks from start(p), the number of draws of
   positions before p, up to start(p + 1) - 1. Going through the positions in
   rising order, p's value is written into its ranks and, in one go, into
   slots past them, which the positions after it overwrite or which lie
   beyond the last rank. While no position was drawn more than kSpreadSlack
   times, as in all but about one resample in a thousand, writing that many
   slots for every position, without looking at its count, fills the ranks. */
template <typename T, typename ValueOf>
inline void CountedResample::spread(ValueOf valueOf,
                                    std::span<T> byRank) const {
  const int n = size();
  T* slots = byRank.data();
  if (mostDraws_ <= kSpreadSlack) {
#pragma GCC unroll 8
    for (int p = 0; p < n; ++p) {
      const T value = valueOf(p);
      for (int i = 0; i < kSpreadSlack; ++i) slots[i] = value;
      slots += counts_[p];
    }
    return;
  }
  for (int p = 0; p < n; ++p) {
    const T value = valueOf(p);
    for (int i = 0; i < counts_[p]; ++i) slots[i] = value;
    slots += counts_[p];
  }
}

}  // namespace talvik

#endif  // TALVIK_ANALYSIS_COUNTED_RESAMPLE_H_
