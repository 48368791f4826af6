#include "analysis/rank_size_a.h"

#include <cmath>
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

void toLog10(std::span<float> values) {
  naturalLogs(values);
  for (float& value : values) value = value * kLog10OfE;
}

std::vector<float> stripWidths(std::size_t n) {
  std::vector<float> rankAxis(n);
  for (std::size_t i = 0; i < n; ++i) {
    rankAxis[i] = static_cast<float>(i + 1);
  }
  toLog10(rankAxis);
  const float logCount = log10Of(static_cast<float>(n));
  for (float& value : rankAxis) value = kAxisScale * (value / logCount);
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

std::vector<float> referenceLine(float largest, std::size_t n) {
  // A NaN largest size, read from the file, keeps its sign in every rank, as
  // its quotients keep it on x86-64 and ARM64; WebAssembly may not.
  if (std::isnan(largest)) return std::vector<float>(n, largest);
  std::vector<float> line(n);
  for (std::size_t i = 0; i < n; ++i) {
    line[i] = largest / static_cast<float>(i + 1);
  }
  return line;
}

NormalisedSizeAxis::NormalisedSizeAxis(float largest, std::size_t n)
    : referenceLine_(talvik::referenceLine(largest, n)) {
  toLog10(referenceLine_);
  logSpan_ = referenceLine_.front() - referenceLine_.back();
  offset_ = referenceLine_.back() / logSpan_;
  for (float& value : referenceLine_) value = place(value);
}

// Every value is one float operation on the same operands whichever order the
// ranks are visited in, so every machine and every pass rounds exactly alike.
// Index i holds rank i + 1.
float rankSizeA(std::span<float> sizes) {
  const std::size_t n = sizes.size();
  if (n == 0) return 0.0f;
  const NormalisedSizeAxis axis(sizes[0], n);
  // A single rank's width of 0 changes nothing: its product is not-a-number
  // anyway, because the span is zero.
  const std::vector<float> stripWidth = stripWidths(n);
  toLog10(sizes);
  SignedArea area;
  for (std::size_t i = 0; i < n; ++i) {
    sizes[i] = axis.place(sizes[i]);
    area.add(sizes[i] - axis.referenceLine()[i], stripWidth[i]);
  }
  return area.total();
}

}  // namespace talvik
