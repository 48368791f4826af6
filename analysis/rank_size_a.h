#ifndef TALVIK_ANALYSIS_RANK_SIZE_A_H_
#define TALVIK_ANALYSIS_RANK_SIZE_A_H_

#include <cstddef>
#include <span>
#include <vector>

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

// The trapezoid width of each of n ranks along the normalised rank axis; a
// single rank has no neighbour and the width 0.
std::vector<float> stripWidths(std::size_t n);

}  // namespace talvik

#endif  // TALVIK_ANALYSIS_RANK_SIZE_A_H_
