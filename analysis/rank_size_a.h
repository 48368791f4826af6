#ifndef TALVIK_ANALYSIS_RANK_SIZE_A_H_
#define TALVIK_ANALYSIS_RANK_SIZE_A_H_

#include <cstddef>
#include <span>
#include <vector>

#include "analysis/nan_sign.h"

namespace talvik {

// The rank-size statistic A of a list ordered largest first: the signed area
// between its rank-size curve and the reference line (largest size / rank) on
// normalised log axes. All arithmetic in float, step by step. Overwrites
// `sizes` with working values. An empty list gives 0.
float rankSizeA(std::span<float> sizes);

// The pieces of rankSizeA that its per-run variant for resamples shares, so
// that both round alike.

// The scale of both normalised axes: the single-precision square root of 2.
inline constexpr float kAxisScale = 1.4142135f;

// The base-10 logarithm: the single-precision natural logarithm times log10 e,
// each rounded.
float log10Of(float value);
// log10Of of every value, in place.
void toLog10(std::span<float> values);

// The trapezoid width of each of n ranks along the normalised rank axis; a
// single rank has no neighbour and the width 0.
std::vector<float> stripWidths(std::size_t n);

// The reference line of n ranks: the largest size divided by each rank.
std::vector<float> referenceLine(float largest, std::size_t n);

// The normalised size axis of a list with this largest size and n ranks:
// the base-10 logarithm of the reference line fixes the span and the offset
// that place every logarithm of a size on the axis.
class NormalisedSizeAxis {
 public:
  NormalisedSizeAxis(float largest, std::size_t n);

  // The place of a size on the axis, given its base-10 logarithm.
  float place(float logSize) const {
    return kAxisScale * ((logSize / logSpan_) - offset_);
  }
  // The reference line's place at each rank.
  const std::vector<float>& referenceLine() const { return referenceLine_; }

 private:
  std::vector<float> referenceLine_;
  float logSpan_;
  float offset_;
};

// The area between the two curves, summed in rank order from the product of
// each rank's deviation and strip width: the negative and the positive
// products apart, then the two sums. Zero and not-a-number products fall
// through both tests.
class SignedArea {
 public:
  void add(float deviation, float stripWidth) {
    const float product = deviation * stripWidth;
    if (product < 0) negative_ = negative_ + product;
    if (product > 0) positive_ = positive_ + product;
  }
  // Neither sum is ever NaN: only +inf + -inf makes one.
  float total() const { return pinNaNSign(positive_ + negative_); }

 private:
  float negative_ = 0.0f;
  float positive_ = 0.0f;
};

}  // namespace talvik

#endif  // TALVIK_ANALYSIS_RANK_SIZE_A_H_
