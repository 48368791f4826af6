#ifndef TALVIK_ANALYSIS_NATURAL_LOG_H_
#define TALVIK_ANALYSIS_NATURAL_LOG_H_

namespace talvik {

// The single-precision natural logarithm, correctly rounded (round to nearest
// even) for every float, so that every machine computes the same A. ln(0) is
// minus infinity, ln of a negative value or NaN is NaN, ln(+inf) is +inf.
float naturalLog(float x);

}  // namespace talvik

#endif  // TALVIK_ANALYSIS_NATURAL_LOG_H_
