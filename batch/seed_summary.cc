#include "batch/seed_summary.h"

#include <cmath>
#include <cstddef>

#include "batch/option_values.h"

namespace talvik {

void BoundSpread::add(float bound) {
  if (!std::isfinite(bound)) {
    ++notFinite_;
    return;
  }
  ++count_;
  // Welford: the deviation from the old mean times that from the new one.
  const double value = bound;
  const double before = value - mean_;
  mean_ += before / static_cast<double>(count_);
  squares_ += before * (value - mean_);
}

std::optional<double> BoundSpread::mean() const {
  if (count_ == 0 || notFinite_ > 0) return std::nullopt;
  return mean_;
}

std::optional<double> BoundSpread::sd() const {
  if (count_ < 2 || notFinite_ > 0) return std::nullopt;
  return std::sqrt(squares_ / static_cast<double>(count_ - 1));
}

void SeedSummary::add(const AnalysisRow& row) {
  if (summary_.seeds == 0) summary_.first = row;
  ++summary_.seeds;
  if (!row.error.empty() || !row.numbers) {
    if (summary_.error.empty()) summary_.error = row.error;
    return;
  }
  const std::vector<ErrorRange>& ranges = row.numbers->ranges;
  if (summary_.levels.empty()) summary_.levels.resize(ranges.size());
  bool notFinite = false;
  for (std::size_t i = 0; i < ranges.size(); ++i) {
    const ErrorRange& range = ranges[i];
    LevelSummary& level = summary_.levels[i];
    level.level = range.level;
    level.lower.add(range.lower);
    level.upper.add(range.upper);
    // A NaN bound fails both tests: it excludes nothing.
    if (range.lower > 0.0f || range.upper < 0.0f) ++level.excludingZero;
    if (!std::isfinite(range.lower) || !std::isfinite(range.upper)) {
      ++level.notFinite;
      notFinite = true;
    }
  }
  if (notFinite && summary_.seedsNotFinite++ == 0) {
    summary_.firstNotFinite = row;
  }
}

std::string summaryNote(const FileSummary& summary) {
  const AnalysisRow& first = summary.first;
  if (first.numbers && !std::isfinite(first.numbers->a)) return first.note;
  if (summary.seedsNotFinite == 0) return {};
  const AnalysisRow& example = summary.firstNotFinite;
  return std::to_string(summary.seedsNotFinite) + " of " +
         std::to_string(summary.seeds) +
         (summary.seeds == 1 ? " seed has" : " seeds have") +
         " bounds that are not finite; seed " + seedText(example.seed) + ": " +
         example.note;
}

}  // namespace talvik
