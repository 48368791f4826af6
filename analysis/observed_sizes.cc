#include "analysis/observed_sizes.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <functional>
#include <iterator>
#include <optional>
#include <vector>

namespace talvik {
namespace {

bool holdsNaN(std::span<const float> list) {
  return std::any_of(list.begin(), list.end(),
                     [](float size) { return std::isnan(size); });
}

}  // namespace

// Without a not-a-number entry the repeated selection yields the positive
// entries from the largest down, the earlier of equal ones first, and then
// 0.0 for every entry that no selection takes (zero, -0.0, negative). A
// stable sort of the positive entries gives that same sequence.
std::vector<float> orderLargestFirst(std::span<const float> list) {
  if (holdsNaN(list)) return orderLargestFirstBySelection(list);
  std::vector<float> ordered;
  ordered.reserve(list.size());
  std::copy_if(list.begin(), list.end(), std::back_inserter(ordered),
               [](float size) { return size > 0.0f; });
  std::stable_sort(ordered.begin(), ordered.end(), std::greater<float>());
  ordered.resize(list.size(), 0.0f);
  return ordered;
}

// Each pass takes an entry whenever the running best is not greater than or
// equal to it, so a not-a-number entry is always taken, and so is the entry
// right after it (nothing compares greater than or equal to not-a-number).
std::vector<float> orderLargestFirstBySelection(std::span<const float> list) {
  std::vector<float> remaining(list.begin(), list.end());
  std::vector<float> ordered(list.size());
  for (float& out : ordered) {
    float best = 0.0f;
    std::optional<std::size_t> taken;
    for (std::size_t i = 0; i < remaining.size(); ++i) {
      if (!(best >= remaining[i])) {
        best = remaining[i];
        taken = i;
      }
    }
    out = best;
    if (taken) remaining[*taken] = 0.0f;
  }
  return ordered;
}

float orderedSize(float size) { return size > 0.0f ? size : 0.0f; }

}  // namespace talvik
