#include "batch/summary_lines.h"

#include <algorithm>
#include <cstddef>
#include <optional>

#include "analysis/bootstrap.h"
#include "batch/text_lines.h"
#include "session/console/shown_text.h"

namespace talvik {
namespace {

const LevelSummary& levelAt(const FileSummary& summary, int level) {
  return *std::find_if(
      summary.levels.begin(), summary.levels.end(),
      [level](const LevelSummary& each) { return each.level == level; });
}

// "-0.108 (sd 0.021)", or "-0.108" without an sd.
std::string boundText(const BoundSpread& bound) {
  std::string text = shownNumber(static_cast<float>(*bound.mean()));
  const std::optional<double> sd = bound.sd();
  if (sd) text += " (sd " + shownNumber(static_cast<float>(*sd)) + ')';
  return text;
}

// "the 95 % range is -0.108 (sd 0.021) to 0.722 (sd 0.012) and excludes 0
// for no seed", or "the 99 % range is not finite for every seed".
std::string levelText(const LevelSummary& level, std::int64_t seeds) {
  std::string text = "the " + std::to_string(level.level) + " % range is ";
  if (level.notFinite > 0) {
    return text + "not finite for " + seedShareText(level.notFinite, seeds);
  }
  return text + boundText(level.lower) + " to " + boundText(level.upper) +
         " and excludes 0 for " + seedShareText(level.excludingZero, seeds);
}

}  // namespace

std::string seedShareText(std::int64_t count, std::int64_t seeds) {
  if (count == 0) return "no seed";
  if (count == seeds) return "every seed";
  // Rounded half up, in whole numbers.
  const std::int64_t percent = (200 * count + seeds) / (2 * seeds);
  if (percent == 0) return "under 1 % of the seeds";
  if (percent == 100) return "over 99 % of the seeds";
  return std::to_string(percent) + " % of the seeds";
}

std::string summaryLine(const FileSummary& summary, std::span<const int> levels,
                        std::string_view version) {
  const AnalysisRow& first = summary.first;
  std::string line = shownText(first.file) + ": ";
  if (!summary.error.empty()) {
    return line + "not analysed: " + shownText(summary.error) + '\n';
  }
  line += "A = " + shownNumber(first.numbers->a);
  for (std::size_t i = 0; i < levels.size(); ++i) {
    line += i > 0 ? std::string("; ")
                  : "; over " + std::to_string(summary.seeds) +
                        (summary.seeds == 1 ? " seed " : " seeds ");
    line += levelText(levelAt(summary, levels[i]), summary.seeds);
  }
  line += " (" + countText(first) + ", " +
          std::to_string(first.numbers->resamples) +
          " resamples per seed, TALVIK ";
  line += version;
  line += ')';
  const std::string note = summaryNote(summary);
  if (!note.empty()) line += " [" + note + ']';
  line += '\n';
  return line;
}

}  // namespace talvik
