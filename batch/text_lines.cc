#include "batch/text_lines.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>

#include "analysis/bootstrap.h"
#include "batch/option_values.h"
#include "session/console/real_field.h"
#include "session/console/shown_text.h"

namespace talvik {
namespace {

// An F field wide enough for every float with three decimals: 39 digits
// before the point, the sign, the point and the decimals.
constexpr int kWideField = 45;

const ErrorRange& rangeAt(const AnalysisNumbers& numbers, int level) {
  return *std::find_if(
      numbers.ranges.begin(), numbers.ranges.end(),
      [level](const ErrorRange& range) { return range.level == level; });
}

}  // namespace

std::string shownNumber(float value) {
  const std::string field = editReal(value, kWideField, 3);
  return field.substr(field.find_first_not_of(' '));
}

std::string countText(const AnalysisRow& row) {
  const std::int64_t settlements = row.numbers->settlements;
  std::string text = "n = " + std::to_string(settlements);
  if (row.sizesRead - row.leftOut > settlements) {
    text += " of " + std::to_string(row.sizesRead) + " read";
  }
  if (row.leftOut > 0) text += ", " + std::to_string(row.leftOut) + " left out";
  return text;
}

std::string textLine(const AnalysisRow& row, std::span<const int> levels,
                     std::string_view version) {
  std::string line = shownText(row.file) + ": ";
  if (!row.numbers)
    return line + "not analysed: " + shownText(row.error) + '\n';
  const AnalysisNumbers& numbers = *row.numbers;
  line += "A = " + shownNumber(numbers.a);
  for (const int level : levels) {
    const ErrorRange& range = rangeAt(numbers, level);
    line += ", " + std::to_string(level) + " % range " +
            shownNumber(range.lower) + " to " + shownNumber(range.upper);
  }
  line += " (" + countText(row) + ", seed " + seedText(row.seed) + ", " +
          std::to_string(numbers.resamples) + " resamples, TALVIK ";
  line += version;
  line += ')';
  if (!row.note.empty()) line += " [" + row.note + ']';
  line += '\n';
  return line;
}

}  // namespace talvik
