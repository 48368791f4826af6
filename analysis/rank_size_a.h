#ifndef TALVIK_ANALYSIS_RANK_SIZE_A_H_
#define TALVIK_ANALYSIS_RANK_SIZE_A_H_

#include <span>

namespace talvik {

// The rank-size statistic A of a list ordered largest first: the signed area
// between its rank-size curve and the reference line (largest size / rank) on
// normalised log axes. All arithmetic in float, step by step. Overwrites
// `sizes` with working values. An empty list gives 0.
float rankSizeA(std::span<float> sizes);

}  // namespace talvik

#endif  // TALVIK_ANALYSIS_RANK_SIZE_A_H_
