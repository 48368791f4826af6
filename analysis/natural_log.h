#ifndef TALVIK_ANALYSIS_NATURAL_LOG_H_
#define TALVIK_ANALYSIS_NATURAL_LOG_H_

#include <cstdint>
#include <span>

namespace talvik {

// The single-precision natural logarithm, correctly rounded (round to nearest
// even) for every float, so that every machine computes the same A. ln(0) is
// minus infinity, ln of a negative value or NaN is the positive quiet NaN
// (whatever its sign, on every machine), ln(+inf) is +inf.
float naturalLog(float x);

// naturalLog of every value, in place, the estimates computed side by side.
void naturalLogs(std::span<float> values);

// ln x within a few units of the last place of a double, for a positive
// finite float x: the estimate that naturalLog rounds to float. Declared here
// for its check.
double naturalLogEstimate(float x);

// True when a double lies so near a midpoint between two floats that the
// estimate's error may put it on the wrong side: naturalLog then settles the
// rounding precisely.
bool nearFloatMidpoint(double estimate);

// How near, in units of a double's last place: far more than the estimate
// errs by, so that outside it the estimate rounds as ln x does.
inline constexpr std::uint64_t kCloseCallUnits = 64;

// A value carried as the unevaluated sum hi + lo of two doubles, with lo at
// most half a unit in the last place of hi: about 106 bits.
struct DoubleDouble {
  double hi;
  double lo;
};

// ln x within 2^-99 of it (relative) for a positive finite float x: the path
// by which naturalLog settles the rounding when the double logarithm lies too
// close to a midpoint between two floats. Declared here for its test.
DoubleDouble preciseNaturalLog(float x);

}  // namespace talvik

#endif  // TALVIK_ANALYSIS_NATURAL_LOG_H_
