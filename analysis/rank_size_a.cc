#include "analysis/rank_size_a.h"

#include <cstddef>
#include <vector>

#include "analysis/natural_log.h"

namespace talvik {
namespace {

// log10 e as a single-precision value.
constexpr float kLog10OfE = 0.4342945f;
constexpr float kHalf = 0.5f;

}  // namespace

float log10Of(float value) { return naturalLog(value) * kLog10OfE; }

std::vector<float> stripWidths(std::size_t n) {
  std::vector<float> rankAxis(n);
  const float logCount = kLog10OfE * naturalLog(static_cast<float>(n));
  for (std::size_t i = 0; i < n; ++i) {
    const float logRank = kLog10OfE * naturalLog(static_cast<float>(i + 1));
    rankAxis[i] = kAxisScale * (logRank / logCount);
  }
  std::vector<float> stripWidth(n, 0.0f);
  if (n >= 2) {
    stripWidth[0] = kHalf * rankAxis[1];
    for (std::size_t i = 1; i + 1 < n; ++i) {
      stripWidth[i] = kHalf * (rankAxis[i + 1] - rankAxis[i - 1]);
    }
    stripWidth[n - 1] = kHalf * (rankAxis[n - 1] - rankAxis[n - 2]);
  }
  return stripWidth;
}

// Every step below is one float operation per value, done over all ranks in
// rising order before the next step starts, so that every machine and every
// pass rounds exactly alike. Index i holds rank i + 1.
float rankSizeA(std::span<float> sizes) {
  const std::size_t n = sizes.size();
  if (n == 0) return 0.0f;

  std::vector<float> referenceLine(n);
  for (std::size_t i = 0; i < n; ++i) {
    referenceLine[i] = sizes[0] / static_cast<float>(i + 1);
  }

  for (std::size_t i = 0; i < n; ++i) {
    referenceLine[i] = log10Of(referenceLine[i]);
    sizes[i] = log10Of(sizes[i]);
  }

  const float logSpan = referenceLine[0] - referenceLine[n - 1];
  const float offset = referenceLine[n - 1] / logSpan;

  for (std::size_t i = 0; i < n; ++i) {
    referenceLine[i] = kAxisScale * ((referenceLine[i] / logSpan) - offset);
    sizes[i] = kAxisScale * ((sizes[i] / logSpan) - offset);
  }

  std::vector<float> deviation(n);
  for (std::size_t i = 0; i < n; ++i) {
    deviation[i] = sizes[i] - referenceLine[i];
  }

  // A single rank's width of 0 changes nothing: its product is not-a-number
  // anyway, because the span is zero.
  const std::vector<float> stripWidth = stripWidths(n);

  std::vector<float> product(n);
  for (std::size_t i = 0; i < n; ++i) {
    product[i] = deviation[i] * stripWidth[i];
  }

  // Zero and not-a-number products fall through both tests.
  float negativeArea = 0.0f;
  float positiveArea = 0.0f;
  for (std::size_t i = 0; i < n; ++i) {
    if (product[i] < 0) negativeArea = negativeArea + product[i];
    if (product[i] > 0) positiveArea = positiveArea + product[i];
  }

  return positiveArea + negativeArea;
}

}  // namespace talvik
