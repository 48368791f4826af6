#include "batch/table_notes.h"

#include <cmath>
#include <cstdint>
#include <string_view>
#include <vector>

#include "batch/result_table.h"

namespace talvik {
namespace {

// "a", "a and b", "a, b and c".
std::string listed(const std::vector<std::string>& items) {
  std::string text;
  for (std::size_t i = 0; i < items.size(); ++i) {
    if (i > 0) text += i + 1 == items.size() ? " and " : ", ";
    text += items[i];
  }
  return text;
}

// "3 sizes of 0, 1 size below 0 (analysed as 0) and 2 infinite sizes".
std::string unusableList(const UnusableSizes& unusable) {
  std::vector<std::string> kinds;
  const auto add = [&kinds](std::int64_t count, std::string_view one,
                            std::string_view many) {
    if (count == 0) return;
    kinds.push_back(std::to_string(count) + ' ' +
                    std::string(count == 1 ? one : many));
  };
  add(unusable.zero, "size of 0", "sizes of 0");
  // The dialogue's rules read them as settlements of size 0.
  add(unusable.negative, "size below 0 (analysed as 0)",
      "sizes below 0 (analysed as 0)");
  add(unusable.notANumber, "not-a-number size", "not-a-number sizes");
  add(unusable.infinite, "infinite size", "infinite sizes");
  return listed(kinds);
}

// "A is -inf", "the bounds at 99 and 95 % are not finite", or empty.
std::string notFinite(const AnalysisNumbers& numbers) {
  if (!std::isfinite(numbers.a)) return "A is " + numberText(numbers.a);
  std::vector<std::string> levels;
  for (const ErrorRange& range : numbers.ranges) {
    if (!std::isfinite(range.lower) || !std::isfinite(range.upper)) {
      levels.push_back(std::to_string(range.level));
    }
  }
  if (levels.empty()) return {};
  return "the bounds at " + listed(levels) + " % are not finite";
}

// Whether the sizes without a logarithm were analysed, and so explain a
// number that is not finite.
bool analysedUnusable(const UnusableSizes& unusable, bool positiveOnly) {
  return !positiveOnly && unusable.total() > 0;
}

}  // namespace

std::string analysisNote(const AnalysisNumbers& numbers,
                         const UnusableSizes& unusable, bool positiveOnly) {
  std::string note = notFinite(numbers);
  if (note.empty() || !analysedUnusable(unusable, positiveOnly)) return note;
  return note + ": " + unusableList(unusable) + "; see --positive-only";
}

std::string unusableSizesWarning(float a, const UnusableSizes& unusable,
                                 bool positiveOnly) {
  if (std::isfinite(a) || !analysedUnusable(unusable, positiveOnly)) return {};
  const bool one = unusable.total() == 1;
  return "A is " + numberText(a) + ": " + unusableList(unusable) +
         (one ? " has no logarithm (--positive-only leaves it out)"
              : " have no logarithm (--positive-only leaves them out)");
}

}  // namespace talvik
