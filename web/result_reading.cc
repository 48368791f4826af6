#include "web/result_reading.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "session/console/real_field.h"

namespace talvik {
namespace {

// Three decimals, as wide as the number needs.
std::string shown(float value) {
  const std::string field = editReal(value, 40, 3);
  return field.substr(std::min(field.find_first_not_of(' '), field.size()));
}

bool finite(const ErrorRange& range) {
  return std::isfinite(range.lower) && std::isfinite(range.upper);
}

bool leavesOutZero(const ErrorRange& range) {
  return finite(range) && (range.lower > 0.0f || range.upper < 0.0f);
}

std::string levelRange(const ErrorRange& range) {
  return "the " + std::to_string(range.level) + " % range (" +
         shown(range.lower) + " to " + shown(range.upper) + ")";
}

nlohmann::json rangesJson(const std::vector<ErrorRange>& ranges) {
  nlohmann::json json = nlohmann::json::array();
  for (const ErrorRange& range : ranges) {
    json.push_back({{"level", range.level},
                    {"lower", shown(range.lower)},
                    {"upper", shown(range.upper)},
                    {"width", shown(range.width)}});
  }
  return json;
}

// The finite ranges, the highest level first.
std::vector<ErrorRange> finiteRanges(const std::vector<ErrorRange>& all) {
  std::vector<ErrorRange> ranges;
  std::copy_if(all.begin(), all.end(), std::back_inserter(ranges), finite);
  std::sort(ranges.begin(), ranges.end(),
            [](const ErrorRange& a, const ErrorRange& b) {
              return a.level > b.level;
            });
  return ranges;
}

}  // namespace

nlohmann::json numbersJson(const AnalysisNumbers& numbers) {
  return {{"settlements", numbers.settlements},
          {"A", shown(numbers.a)},
          {"ranges", rangesJson(numbers.ranges)}};
}

nlohmann::json differenceJson(const ComparisonNumbers& numbers) {
  return {{"settlements", numbers.settlements},
          {"referenceSettlements", numbers.referenceSettlements},
          {"difference", shown(numbers.difference)},
          {"ranges", rangesJson(numbers.ranges)}};
}

std::string differenceSentence(const ComparisonNumbers& numbers,
                               const std::string& file,
                               const std::string& reference) {
  const float difference = numbers.difference;
  std::string sentence =
      "A(" + file + ") - A(" + reference + ") = " + shown(difference);
  if (!std::isfinite(difference)) {
    return sentence + " is not a finite number, so its ranges say nothing.";
  }
  if (difference > 0.0f) {
    sentence += ": A is higher in " + file + " than in the reference";
  } else if (difference < 0.0f) {
    sentence += ": A is lower in " + file + " than in the reference";
  } else {
    sentence += ": A is the same in both";
  }
  const std::vector<ErrorRange> ranges = finiteRanges(numbers.ranges);
  if (ranges.empty()) return sentence + ", but no range is a finite number.";
  const auto first = std::find_if(ranges.begin(), ranges.end(), leavesOutZero);
  if (first == ranges.end()) {
    return sentence + ", but every range holds 0, even " +
           levelRange(ranges.back()) + ": no difference is shown.";
  }
  const std::string level = std::to_string(first->level);
  if (first == ranges.begin()) {
    return sentence + ", and even " + levelRange(*first) +
           " leaves out 0: the two differ at " + level + " % confidence.";
  }
  const ErrorRange& holding = *(first - 1);
  return sentence + "; " + levelRange(*first) + " leaves out 0 but " +
         levelRange(holding) + " holds it: they differ at " + level +
         " % confidence, not at " + std::to_string(holding.level) +
         " % (these ranges are narrower than their levels claim, so read a "
         "difference as clear only at 99 %).";
}

std::string resultSentence(const AnalysisNumbers& numbers) {
  std::string sentence =
      "A = " + shown(numbers.a) + " for " +
      std::to_string(numbers.settlements) +
      (numbers.settlements == 1 ? " settlement" : " settlements");
  if (!std::isfinite(numbers.a)) {
    return sentence +
           " is not a finite number, so its ranges say nothing; the note "
           "says why.";
  }
  if (numbers.a > 0.0f) {
    sentence += ": the curve lies above the rank-size line (convex).";
  } else if (numbers.a < 0.0f) {
    sentence += ": the curve lies below the rank-size line (primate).";
  } else {
    sentence += ": the curve follows the rank-size line.";
  }
  const std::vector<ErrorRange> ranges = finiteRanges(numbers.ranges);
  if (ranges.empty()) return sentence + " No range is a finite number.";
  const auto first = std::find_if(ranges.begin(), ranges.end(), leavesOutZero);
  if (first == ranges.end()) {
    return sentence + " Every range holds 0, even " +
           levelRange(ranges.back()) +
           ": these sizes are compatible with the rank-size rule, too few "
           "to tell a convex or primate system from one that follows it.";
  }
  const std::string kind = first->lower > 0.0f ? "convex" : "primate";
  const std::string level = std::to_string(first->level);
  if (first == ranges.begin()) {
    return sentence + " Even " + levelRange(*first) + " leaves out 0: " + kind +
           " at " + level + " % confidence.";
  }
  const ErrorRange& holding = *(first - 1);
  std::string leaving = levelRange(*first);
  leaving[0] = 'T';
  sentence += ' ';
  sentence += leaving;
  return sentence + " leaves out 0 but " + levelRange(holding) +
         " holds it: " + kind + " at " + level + " % confidence, not at " +
         std::to_string(holding.level) + " %.";
}

}  // namespace talvik
