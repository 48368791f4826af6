#include "analysis/natural_log.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace talvik {
namespace {

// Close calls are settled in __float128, a 113-bit significand computed in
// software: unlike the x87 long double, it rounds alike on every machine and
// under every emulator (valgrind, for one, carries long double as double).
using Quad = __float128;

// The double logarithm is within a few units of its last place, so a result
// this close (relative) to a midpoint between two floats cannot decide the
// rounding on its own. The window is far wider than the library's error and
// still catches only about one float in ten million.
constexpr double kCloseCall = 0x1p-48;

// Sum of t^(2k+1)/(2k+1) until the terms no longer change the sum.
Quad atanhSeries(Quad t) {
  const Quad square = t * t;
  Quad power = t;
  Quad sum = t;
  for (int k = 3;; k += 2) {
    power *= square;
    const Quad next = sum + power / k;
    if (next == sum) return sum;
    sum = next;
  }
}

// ln x = e ln 2 + 2 atanh((m - 1) / (m + 1)) with x = m 2^e and m within
// [sqrt(1/2), sqrt(2)), where the series gains five bits a term. Its error,
// a few units of 2^-113, is far inside the close-call window.
Quad preciseLog(float x) {
  static const Quad kLn2 = 2 * atanhSeries(Quad(1) / 3);
  int exponent = 0;
  double m = std::frexp(static_cast<double>(x), &exponent);
  if (m < 0.70710678118654752) {
    m *= 2;
    --exponent;
  }
  const Quad t = (Quad(m) - 1) / (Quad(m) + 1);
  return exponent * kLn2 + 2 * atanhSeries(t);
}

}  // namespace

float naturalLog(float x) {
  if (std::isnan(x) || x < 0) return std::numeric_limits<float>::quiet_NaN();
  if (x == 0) return -std::numeric_limits<float>::infinity();
  if (std::isinf(x)) return x;
  if (x == 1) return 0.0f;

  // ln x is transcendental for every float but 1, so it never falls exactly
  // on a midpoint: a precise enough approximation always rounds correctly.
  const double estimate = std::log(static_cast<double>(x));
  const float rounded = static_cast<float>(estimate);
  const float neighbour = std::nextafter(
      rounded, estimate < rounded ? -std::numeric_limits<float>::infinity()
                                  : std::numeric_limits<float>::infinity());
  // Exact in double, whose significand is more than twice as wide.
  const double midpoint =
      (static_cast<double>(rounded) + static_cast<double>(neighbour)) / 2;
  if (std::abs(estimate - midpoint) > std::abs(midpoint) * kCloseCall) {
    return rounded;
  }
  // ln x lies within a hair of the midpoint: the side it lies on decides.
  const bool above = preciseLog(x) > Quad(midpoint);
  return above ? std::max(rounded, neighbour) : std::min(rounded, neighbour);
}

}  // namespace talvik
