#include "batch/summary_table.h"

#include <charconv>
#include <cstddef>
#include <string_view>

#include "analysis/bootstrap.h"
#include "batch/result_table.h"
#include "batch/summary_lines.h"

namespace talvik {
namespace {

// A mean or sd that may be missing: the number, or `missing`.
std::string optionalText(const std::optional<double>& value,
                         std::string_view missing) {
  return value ? doubleText(*value) : std::string(missing);
}

// The share of seeds whose range excludes 0, from 0 to 1.
std::string shareText(const LevelSummary& level, std::int64_t seeds) {
  return doubleText(static_cast<double>(level.excludingZero) /
                    static_cast<double>(seeds));
}

}  // namespace

std::string doubleText(double value) {
  char text[32];
  const std::to_chars_result printed =
      std::to_chars(text, text + sizeof text, value);
  return std::string(text, printed.ptr);
}

SummaryTable::SummaryTable(TableFormat format, std::span<const int> extraLevels,
                           std::optional<int> textLevel)
    : format_(format),
      levels_(tableLevels(extraLevels)),
      textLevels_(textLevel ? std::vector<int>{*textLevel} : levels_) {}

std::string SummaryTable::opening() const {
  if (format_ == TableFormat::kJson) return "[";
  if (format_ == TableFormat::kText) return {};
  std::string header = "file,seeds,settlements,sizes_read,left_out,resamples,A";
  for (const int level : levels_) {
    const std::string p = std::to_string(level);
    header += ",lower_" + p + "_mean,lower_" + p + "_sd,upper_" + p +
              "_mean,upper_" + p + "_sd,excludes_0_" + p;
  }
  header += ",error,note\n";
  return header;
}

std::string SummaryTable::add(const AnalysisRow& row, bool lastOfFile) {
  current_.add(row);
  if (!lastOfFile) return {};
  const FileSummary& summary = current_.summary();
  std::string text;
  if (format_ == TableFormat::kCsv) {
    text = csvRow(summary);
  } else if (format_ == TableFormat::kText) {
    text = summaryLine(summary, textLevels_, TALVIK_VERSION);
  } else {
    text = (firstRow_ ? "\n" : ",\n") + jsonRow(summary);
    firstRow_ = false;
  }
  current_.reset();
  return text;
}

std::string SummaryTable::closing() const {
  if (format_ != TableFormat::kJson) return {};
  return firstRow_ ? "]\n" : "\n]\n";
}

std::string SummaryTable::csvRow(const FileSummary& summary) const {
  const AnalysisRow& first = summary.first;
  std::string line = csvCell(first.file);
  const auto addField = [&line](const std::string& field) {
    line += ',';
    line += field;
  };
  addField(std::to_string(summary.seeds));
  if (!summary.error.empty()) {
    line.append(5 + 5 * levels_.size(), ',');
    addField(csvCell(summary.error));
    addField({});
    line += '\n';
    return line;
  }
  addField(std::to_string(first.numbers->settlements));
  addField(std::to_string(first.sizesRead));
  addField(std::to_string(first.leftOut));
  addField(std::to_string(first.numbers->resamples));
  addField(numberText(first.numbers->a));
  for (const LevelSummary& level : summary.levels) {
    addField(optionalText(level.lower.mean(), ""));
    addField(optionalText(level.lower.sd(), ""));
    addField(optionalText(level.upper.mean(), ""));
    addField(optionalText(level.upper.sd(), ""));
    addField(shareText(level, summary.seeds));
  }
  addField({});
  addField(csvCell(summaryNote(summary)));
  line += '\n';
  return line;
}

std::string SummaryTable::jsonRow(const FileSummary& summary) const {
  const AnalysisRow& first = summary.first;
  std::string object;
  addJsonMember(object, "file", jsonString(first.file));
  addJsonMember(object, "seeds", std::to_string(summary.seeds));
  if (!summary.error.empty()) {
    addJsonMember(object, "error", jsonString(summary.error));
    object += '}';
    return object;
  }
  addJsonMember(object, "settlements",
                std::to_string(first.numbers->settlements));
  addJsonMember(object, "sizes_read", std::to_string(first.sizesRead));
  addJsonMember(object, "left_out", std::to_string(first.leftOut));
  addJsonMember(object, "resamples", std::to_string(first.numbers->resamples));
  addJsonMember(object, "A", jsonNumber(first.numbers->a));
  object += ", \"ranges\": [";
  for (std::size_t i = 0; i < summary.levels.size(); ++i) {
    const LevelSummary& level = summary.levels[i];
    object += i == 0 ? "\n    {\"level\": " : ",\n    {\"level\": ";
    object += std::to_string(level.level);
    object += ", \"lower_mean\": " + optionalText(level.lower.mean(), "null");
    object += ", \"lower_sd\": " + optionalText(level.lower.sd(), "null");
    object += ", \"upper_mean\": " + optionalText(level.upper.mean(), "null");
    object += ", \"upper_sd\": " + optionalText(level.upper.sd(), "null");
    object += ", \"excludes_0\": " + shareText(level, summary.seeds);
    object += '}';
  }
  object += ']';
  addJsonMember(object, "note", jsonString(summaryNote(summary)));
  object += '}';
  return object;
}

}  // namespace talvik
