#include "analysis/natural_log.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <span>

#include "analysis/instruction_set.h"

namespace talvik {
namespace {

// A double rounds to float on the 29 low bits of its significand, and lies on
// a midpoint between two floats when they hold exactly 2^28. The estimate
// below errs by a few units of its last place, so a result kCloseCallUnits
// (or fewer) from a midpoint cannot decide the rounding on its own. The
// window is far wider than the estimate's error and still catches only about
// one float in four million.
constexpr int kDroppedBits = 29;
constexpr std::uint64_t kMidpointBits = std::uint64_t{1} << (kDroppedBits - 1);

// Close calls are settled in double-double arithmetic built on the error-free
// sum and product below. These need only correctly rounded double + and *
// with no fused multiply-add contraction (the build turns it off), so every
// IEEE machine gets the same bits. The product splits its factors instead of
// calling std::fma, which machines without the instruction emulate in their
// library, slowly and with the library's care.
//
// Each operation below errs by a few units of 2^-106 relative to its exact
// result (u = 2^-53 is the double rounding unit, |lo| <= u |hi|).

// a + b exactly, as the rounded sum and its error (Knuth).
DoubleDouble twoSum(double a, double b) {
  const double sum = a + b;
  const double bPart = sum - a;
  const double aPart = sum - bPart;
  return {sum, (a - aPart) + (b - bPart)};
}

// a + b exactly, when a is zero or its exponent is at least b's (Dekker).
DoubleDouble quickTwoSum(double a, double b) {
  const double sum = a + b;
  return {sum, b - (sum - a)};
}

// a as hi + lo with at most 26 significant bits each, so that the product of
// two such halves is exact (Veltkamp).
DoubleDouble split(double a) {
  constexpr double kSplitter = 0x1p27 + 1;
  const double scaled = kSplitter * a;
  const double hi = scaled - (scaled - a);
  return {hi, a - hi};
}

// a * b exactly, as the rounded product and its error (Dekker).
DoubleDouble twoProduct(double a, double b) {
  const double product = a * b;
  const DoubleDouble as = split(a);
  const DoubleDouble bs = split(b);
  const double error =
      ((as.hi * bs.hi - product) + as.hi * bs.lo + as.lo * bs.hi) +
      as.lo * bs.lo;
  return {product, error};
}

// Both halves summed exactly, the pieces folded in from the largest: within
// (2 |x + y| + |x| + |y|) u^2, so 3u^2 relative when x and y have the same
// sign and 5u^2 when one is at least twice the other, as here.
DoubleDouble add(DoubleDouble x, DoubleDouble y) {
  const DoubleDouble high = twoSum(x.hi, y.hi);
  const DoubleDouble low = twoSum(x.lo, y.lo);
  const DoubleDouble sum = quickTwoSum(high.hi, high.lo + low.hi);
  return quickTwoSum(sum.hi, sum.lo + low.lo);
}

// x.hi y.hi exactly plus the cross terms, each below u |x y|; x.lo y.lo,
// below u^2 |x y|, is left out. Within 8u^2 relative.
DoubleDouble multiply(DoubleDouble x, DoubleDouble y) {
  const DoubleDouble product = twoProduct(x.hi, y.hi);
  return quickTwoSum(product.hi, product.lo + (x.hi * y.lo + x.lo * y.hi));
}

// The remainder x.hi - q d of the rounded quotient q is a double and is
// computed exactly; a second quotient carries on from it. Within 4u^2
// relative.
DoubleDouble divide(DoubleDouble x, double d) {
  const double quotient = x.hi / d;
  const DoubleDouble back = twoProduct(quotient, d);
  const double remainder = ((x.hi - back.hi) - back.lo) + x.lo;
  return quickTwoSum(quotient, remainder / d);
}

// ln 2 = 0.69314718055994530941723212145817656807550013436..., rounded to a
// double, and the rest rounded to a double: together within 2^-109 of ln 2.
constexpr DoubleDouble kLn2{0x1.62e42fefa39efp-1, 0x1.abc9e3b39803fp-56};

// Odd powers of t smaller than this, relative to t, end the series.
constexpr double kNegligible = 0x1p-110;

// atanh t = t + t^3/3 + t^5/5 + ... for |t| <= 0.172, where each term is at
// most t^2 <= 0.0295 times the one before: at most 22 terms, and what is left
// out is below 2^-111 |t|.
DoubleDouble atanhSeries(DoubleDouble t) {
  const DoubleDouble square = multiply(t, t);
  const double negligible = kNegligible * std::abs(t.hi);
  DoubleDouble power = t;
  DoubleDouble sum = t;
  for (double divisor = 3;; divisor += 2) {
    power = multiply(power, square);
    if (std::abs(power.hi) <= negligible) return sum;
    sum = add(sum, divide(power, divisor));
  }
}

}  // namespace

// ln x = e ln 2 + 2 atanh((m - 1) / (m + 1)) with x = m 2^e and m within
// [sqrt(1/2), sqrt(2)). Error, in units of u^2 = 2^-106 relative:
// - t = (m - 1) / (m + 1): m - 1 and m + 1 are exact (m has at most 24
//   significant bits) and so is the division's remainder, so t errs by at
//   most 1u^2, which moves atanh t by at most 1.03u^2;
// - the series: at most 21 additions of 3u^2 each, the products and
//   divisions 0.3u^2 all told (the terms after t are small), what is left
//   out 0.03u^2: below 65u^2 of the sum;
// - e ln 2: the constant and the roundings of e ln2.lo and of the low parts'
//   sum, below 1.7u^2 of |e| ln 2, which is at most twice the result since
//   |2 atanh t| <= ln 2 / 2;
// - the final addition, 5u^2.
// All told below 80u^2, under 2^-99: far inside the close-call window and
// the nearest any float's logarithm comes to a midpoint, 2^-57.8 relative
// (x = 1.2783784e23; log_check finds none within 2^-58).
DoubleDouble preciseNaturalLog(float x) {
  int exponent = 0;
  double m = std::frexp(static_cast<double>(x), &exponent);
  if (m < 0.70710678118654752) {
    m *= 2;
    --exponent;
  }
  const DoubleDouble series = atanhSeries(divide({m - 1, 0}, m + 1));
  const double e = exponent;
  const DoubleDouble eLn2High = twoProduct(e, kLn2.hi);
  const DoubleDouble eLn2 = quickTwoSum(eLn2High.hi, eLn2High.lo + e * kLn2.lo);
  return add(eLn2, {2 * series.hi, 2 * series.lo});
}

namespace {

// ln 2 in two parts: the first with its last 11 bits zero, so that its
// product with any float's exponent is exact, and the rest.
constexpr double kLn2High = 0x1.62e42fefa3800p-1;
constexpr double kLn2Low = 0x1.ef35793c76730p-45;

// atanh t / t = 1 + t^2/3 + t^4/5 + ...: for |t| <= 0.172 the terms after
// t^16/17 add less than 2^-50.
constexpr int kSeriesTerms = 9;

// Branch-free and in double and 64-bit integer operations only, so that a
// loop of them vectorises. For a negative, zero, infinite or NaN x the result
// means nothing.
[[gnu::always_inline]] inline double estimateOf(float x) {
  // A float converts to a normal double exactly, denormals included.
  const auto bits = std::bit_cast<std::uint64_t>(static_cast<double>(x));
  constexpr std::uint64_t kSignificand = (std::uint64_t{1} << 52) - 1;
  constexpr std::uint64_t kBias = 1023;
  // sqrt 2 as a double: its significand bits.
  constexpr std::uint64_t kRootTwoSignificand = 0x6a09e667f3bcd;
  // m is x's significand in [1, 2), halved (its exponent lowered by one)
  // when above sqrt 2, and e is x's exponent, raised by one then; all in
  // integer operations, which vectorise where branches do not.
  const std::uint64_t significand = bits & kSignificand;
  const auto high =
      static_cast<std::uint64_t>(significand > kRootTwoSignificand);
  const double reduced =
      std::bit_cast<double>(significand | ((kBias - high) << 52));
  // The biased exponent as the low bits of the double 2^52: exact.
  constexpr std::uint64_t kTwoTo52 = std::uint64_t{0x433} << 52;
  const double e =
      (std::bit_cast<double>(((bits >> 52) + high) | kTwoTo52) - 0x1p52) -
      static_cast<double>(kBias);
  // ln x = e ln 2 + 2 atanh t, t = (m - 1) / (m + 1); m - 1 and m + 1 are
  // exact, m having at most 24 significant bits.
  const double t = (reduced - 1) / (reduced + 1);
  const double square = t * t;
  double series = 1.0 / (2 * kSeriesTerms - 1);
#pragma GCC unroll 16
  for (int k = kSeriesTerms - 2; k >= 0; --k) {
    series = 1.0 / (2 * k + 1) + square * series;
  }
  return e * kLn2High + (e * kLn2Low + 2 * t * series);
}

[[gnu::always_inline]] inline bool isNearFloatMidpoint(double estimate) {
  const std::uint64_t dropped =
      std::bit_cast<std::uint64_t>(estimate) & ((kMidpointBits << 1) - 1);
  const std::uint64_t distance = dropped > kMidpointBits
                                     ? dropped - kMidpointBits
                                     : kMidpointBits - dropped;
  return distance <= kCloseCallUnits;
}

// naturalLog of the values that its estimate does not settle: zero, negative
// values, NaN, the infinities, 1, and close calls.
float logOfHardCase(float x, double estimate) {
  if (std::isnan(x) || x < 0) return std::numeric_limits<float>::quiet_NaN();
  if (x == 0) return -std::numeric_limits<float>::infinity();
  if (std::isinf(x)) return x;
  if (x == 1) return 0.0f;

  // ln x is transcendental for every float but 1, so it never falls exactly
  // on a midpoint: a precise enough approximation always rounds correctly.
  const float rounded = static_cast<float>(estimate);
  if (!isNearFloatMidpoint(estimate)) return rounded;
  const float neighbour = std::nextafter(
      rounded, estimate < rounded ? -std::numeric_limits<float>::infinity()
                                  : std::numeric_limits<float>::infinity());
  // Exact in double, whose significand is more than twice as wide.
  const double midpoint =
      (static_cast<double>(rounded) + static_cast<double>(neighbour)) / 2;
  // ln x lies within a hair of the midpoint: the side it lies on decides.
  // precise.hi - midpoint is exact, the two being so close, and a rounded sum
  // has the sign of the exact one.
  const DoubleDouble precise = preciseNaturalLog(x);
  const bool above = (precise.hi - midpoint) + precise.lo > 0;
  return above ? std::max(rounded, neighbour) : std::min(rounded, neighbour);
}

// True when the estimate of x decides naturalLog x: x is positive, finite
// and not 1, and the estimate is no close call. In 64-bit integer tests of
// x's bits as a double, which vectorise.
[[gnu::always_inline]] inline bool settles(float x, double estimate) {
  const auto bits = std::bit_cast<std::int64_t>(static_cast<double>(x));
  constexpr std::int64_t kInfinityBits = std::int64_t{0x7ff} << 52;
  constexpr std::int64_t kOneBits = std::int64_t{0x3ff} << 52;
  return (bits > 0) & (bits < kInfinityBits) & (bits != kOneBits) &
         !isNearFloatMidpoint(estimate);
}

[[gnu::always_inline]] inline float logFromEstimate(float x, double estimate) {
  if (settles(x, estimate)) [[likely]]
    return static_cast<float>(estimate);
  return logOfHardCase(x, estimate);
}

// The values whose estimates one pass computes side by side.
constexpr std::size_t kEstimateChunk = 256;

// What a pass computes for each value: its estimate, and whether that settles
// its logarithm (1) or not (0).
struct Estimates {
  std::array<double, kEstimateChunk> estimate;
  std::array<std::uint64_t, kEstimateChunk> settled;
};

[[gnu::always_inline]] inline void estimateAll(const float* values,
                                               std::size_t count,
                                               Estimates& estimates) {
  for (std::size_t i = 0; i < count; ++i) {
    const double estimate = estimateOf(values[i]);
    estimates.estimate[i] = estimate;
    estimates.settled[i] = settles(values[i], estimate);
  }
}

}  // namespace

double naturalLogEstimate(float x) { return estimateOf(x); }

bool nearFloatMidpoint(double estimate) {
  return isNearFloatMidpoint(estimate);
}

float naturalLog(float x) { return logFromEstimate(x, estimateOf(x)); }

void naturalLogs(std::span<float> values) {
  Estimates estimates;
  for (std::size_t first = 0; first < values.size(); first += kEstimateChunk) {
    const std::size_t count = std::min(kEstimateChunk, values.size() - first);
    float* const chunk = values.data() + first;
    TALVIK_AVX2_OR_BASELINE(avx2Build<estimateAll>(chunk, count, estimates),
                            estimateAll(chunk, count, estimates));
    for (std::size_t i = 0; i < count; ++i) {
      chunk[i] = estimates.settled[i] != 0
                     ? static_cast<float>(estimates.estimate[i])
                     : logOfHardCase(chunk[i], estimates.estimate[i]);
    }
  }
}

}  // namespace talvik
