#ifndef TALVIK_ANALYSIS_OBSERVED_SIZES_H_
#define TALVIK_ANALYSIS_OBSERVED_SIZES_H_

#include <span>
#include <vector>

namespace talvik {

inline constexpr int kMaxSettlements = 1000;

// The settlement sizes, largest first: the positive sizes in non-increasing
// order, then 0.0 for each size that was zero or negative. SettlementCount is
// its size(). Never changed once ordered.
using ObservedSizes = std::vector<float>;

// Orders a list largest first, as the repeated selection below does: the
// positive sizes in non-increasing order (of equal values the earlier first),
// then 0.0 for each size that is zero or negative. A list holding NaN gets
// exactly what the selection gives it.
std::vector<float> orderLargestFirst(std::span<const float> list);

// The repeated selection itself, step by step: the reference for the above.
std::vector<float> orderLargestFirstBySelection(std::span<const float> list);

// The size that a drawn position puts in the ordered resample: the size when
// it is positive, else 0.0, as the repeated selection leaves it.
float orderedSize(float size);

}  // namespace talvik

#endif  // TALVIK_ANALYSIS_OBSERVED_SIZES_H_
