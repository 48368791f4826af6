#include "batch/comparison_table.h"

#include <algorithm>
#include <string_view>

#include "analysis/difference_bootstrap.h"
#include "batch/option_values.h"
#include "batch/result_table.h"
#include "batch/text_lines.h"
#include "session/console/shown_text.h"

namespace talvik {

ComparisonTable::ComparisonTable(TableFormat format,
                                 std::span<const int> extraLevels,
                                 std::optional<int> textLevel)
    : format_(format),
      levels_(tableLevels(extraLevels)),
      textLevels_(textLevel ? std::vector<int>{*textLevel} : levels_) {}

std::string ComparisonTable::opening() const {
  if (format_ == TableFormat::kJson) return "[";
  if (format_ == TableFormat::kText) return {};
  return "file,reference,seed,settlements,reference_settlements,resamples,"
         "difference" +
         csvRangeColumns(levels_) + ",error\n";
}

std::string ComparisonTable::row(const ComparisonRow& row) {
  if (format_ == TableFormat::kCsv) return csvRow(row);
  if (format_ == TableFormat::kText) return textRow(row);
  std::string text = firstRow_ ? "\n" : ",\n";
  firstRow_ = false;
  return text + jsonRow(row);
}

std::string ComparisonTable::closing() const {
  if (format_ != TableFormat::kJson) return {};
  return firstRow_ ? "]\n" : "\n]\n";
}

std::string ComparisonTable::csvRow(const ComparisonRow& row) const {
  std::string line = csvCell(row.file);
  const auto addField = [&line](const std::string& field) {
    line += ',';
    line += field;
  };
  addField(csvCell(row.reference));
  addField(seedText(row.seed));
  if (row.numbers) {
    const ComparisonNumbers& numbers = *row.numbers;
    addField(std::to_string(numbers.settlements));
    addField(std::to_string(numbers.referenceSettlements));
    addField(std::to_string(numbers.resamples));
    addField(numberText(numbers.difference));
    line += csvRangeCells(numbers.ranges);
  } else {
    line.append(4 + 3 * levels_.size(), ',');
  }
  addField(csvCell(row.error));
  line += '\n';
  return line;
}

std::string ComparisonTable::jsonRow(const ComparisonRow& row) const {
  std::string object;
  addJsonMember(object, "file", jsonString(row.file));
  addJsonMember(object, "reference", jsonString(row.reference));
  addJsonMember(object, "seed", seedText(row.seed));
  if (!row.numbers) {
    addJsonMember(object, "error", jsonString(row.error));
    return object + '}';
  }
  const ComparisonNumbers& numbers = *row.numbers;
  addJsonMember(object, "settlements", std::to_string(numbers.settlements));
  addJsonMember(object, "reference_settlements",
                std::to_string(numbers.referenceSettlements));
  addJsonMember(object, "resamples", std::to_string(numbers.resamples));
  addJsonMember(object, "difference", jsonNumber(numbers.difference));
  return object + jsonRanges(numbers.ranges) + '}';
}

std::string ComparisonTable::textRow(const ComparisonRow& row) const {
  std::string line = shownText(row.file) + " - " + shownText(row.reference);
  if (!row.numbers) {
    return line + ": not compared: " + shownText(row.error) + '\n';
  }
  const ComparisonNumbers& numbers = *row.numbers;
  line += ": difference in A = " + shownNumber(numbers.difference);
  for (const int level : textLevels_) {
    const ErrorRange& range = *std::find_if(
        numbers.ranges.begin(), numbers.ranges.end(),
        [level](const ErrorRange& r) { return r.level == level; });
    line += ", " + std::to_string(level) + " % range " +
            shownNumber(range.lower) + " to " + shownNumber(range.upper);
  }
  line += " (n = " + std::to_string(numbers.settlements) + " and " +
          std::to_string(numbers.referenceSettlements) + ", seed " +
          seedText(row.seed) + ", " + std::to_string(numbers.resamples) +
          " resamples)\n";
  return line;
}

}  // namespace talvik
