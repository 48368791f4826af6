#include "analysis/natural_log.h"

#include <cmath>
#include <limits>

namespace talvik {
namespace {

static_assert(std::numeric_limits<long double>::digits >= 64,
              "the close calls are settled in a wider format than double");

// The double logarithm is within a few units of its last place, so a result
// this close (relative) to a midpoint between two floats cannot decide the
// rounding on its own. The window is far wider than the library's error and
// still catches only about one float in ten million.
constexpr double kCloseCall = 0x1p-48;

// The midpoint between `rounded` and its neighbouring float on the side of
// `estimate`; exact in double, whose significand is more than twice as wide.
double midpointTowards(float rounded, double estimate) {
  const float away = estimate < rounded
                         ? -std::numeric_limits<float>::infinity()
                         : std::numeric_limits<float>::infinity();
  const float neighbour = std::nextafter(rounded, away);
  return (static_cast<double>(rounded) + static_cast<double>(neighbour)) / 2;
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
  const double midpoint = midpointTowards(rounded, estimate);
  if (std::abs(estimate - midpoint) > std::abs(midpoint) * kCloseCall) {
    return rounded;
  }
  // Rounded straight from the wider format: one rounding, no double step.
  return static_cast<float>(std::log(static_cast<long double>(x)));
}

}  // namespace talvik
