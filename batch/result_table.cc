#include "batch/result_table.h"

#include <charconv>
#include <cmath>
#include <string_view>

#include "analysis/bootstrap.h"
#include "batch/option_values.h"
#include "batch/text_lines.h"
#include "session/console/utf8_text.h"

namespace talvik {

// A CSV cell: quoted, its quotes doubled, when it holds a comma, a quote or
// a line end.
std::string csvCell(std::string_view text) {
  if (text.find_first_of(",\"\r\n") == std::string_view::npos) {
    return std::string(text);
  }
  std::string cell = "\"";
  for (const char c : text) {
    if (c == '"') cell += '"';
    cell += c;
  }
  cell += '"';
  return cell;
}

// A JSON string. File names may hold any bytes: those that are not UTF-8
// become U+FFFD, so that the document stays valid.
std::string jsonString(std::string_view text) {
  constexpr char kHex[] = "0123456789abcdef";
  std::string json = "\"";
  while (!text.empty()) {
    const auto c = static_cast<unsigned char>(text[0]);
    const std::size_t length = utf8SequenceLength(text);
    if (length == 0) {
      json += "\\ufffd";
      text.remove_prefix(1);
      continue;
    }
    if (c == '"' || c == '\\') {
      json += '\\';
      json += static_cast<char>(c);
    } else if (c < 0x20) {
      json += "\\u00";
      json += kHex[c >> 4];
      json += kHex[c & 0xf];
    } else {
      json.append(text.substr(0, length));
    }
    text.remove_prefix(length);
  }
  json += '"';
  return json;
}

std::string jsonNumber(float value) {
  std::string number = numberText(value);
  if (std::isfinite(value)) return number;
  return '"' + number + '"';
}

// A range's width, which means nothing unless both bounds are finite.
bool hasWidth(const ErrorRange& range) {
  return std::isfinite(range.lower) && std::isfinite(range.upper);
}

// Not-a-number keeps its sign, as the dialogue's "-NaN" does, so that editing
// the text again gives the dialogue's field.
std::string numberText(float value) {
  if (std::isnan(value)) return std::signbit(value) ? "-nan" : "nan";
  if (std::isinf(value)) return value < 0.0f ? "-inf" : "inf";
  char text[32];
  const std::to_chars_result printed =
      std::to_chars(text, text + sizeof text, value);
  return std::string(text, printed.ptr);
}

void addJsonMember(std::string& object, std::string_view name,
                   std::string_view value) {
  object += object.empty() ? "  {\"" : ", \"";
  object += name;
  object += "\": ";
  object += value;
}

std::vector<int> tableLevels(std::span<const int> extraLevels) {
  std::vector<int> levels(kReportedLevels.begin(), kReportedLevels.end());
  levels.insert(levels.end(), extraLevels.begin(), extraLevels.end());
  return levels;
}

std::string csvRangeColumns(std::span<const int> levels) {
  std::string columns;
  for (const int level : levels) {
    const std::string p = std::to_string(level);
    columns += ",lower_" + p + ",upper_" + p + ",range_" + p;
  }
  return columns;
}

std::string csvRangeCells(std::span<const ErrorRange> ranges) {
  std::string cells;
  for (const ErrorRange& range : ranges) {
    cells += ',' + numberText(range.lower);
    cells += ',' + numberText(range.upper);
    cells += ',';
    if (hasWidth(range)) cells += numberText(range.width);
  }
  return cells;
}

std::string jsonRanges(std::span<const ErrorRange> ranges) {
  std::string json = ", \"ranges\": [";
  for (std::size_t i = 0; i < ranges.size(); ++i) {
    const ErrorRange& range = ranges[i];
    json += i == 0 ? "\n    {\"level\": " : ",\n    {\"level\": ";
    json += std::to_string(range.level);
    json += ", \"lower\": " + jsonNumber(range.lower);
    json += ", \"upper\": " + jsonNumber(range.upper);
    json += ", \"range\": ";
    json += hasWidth(range) ? jsonNumber(range.width) : "null";
    json += '}';
  }
  return json + ']';
}

ResultTable::ResultTable(TableFormat format, std::span<const int> extraLevels,
                         std::optional<int> textLevel)
    : format_(format),
      levels_(tableLevels(extraLevels)),
      textLevels_(textLevel ? std::vector<int>{*textLevel} : levels_) {}

std::string ResultTable::opening() const {
  if (format_ == TableFormat::kJson) return "[";
  if (format_ == TableFormat::kText) return {};
  return "file,seed,settlements,sizes_read,left_out,resamples,A" +
         csvRangeColumns(levels_) + ",error,note\n";
}

std::string ResultTable::row(const AnalysisRow& row) {
  if (format_ == TableFormat::kCsv) return csvRow(row);
  if (format_ == TableFormat::kText) {
    return textLine(row, textLevels_, TALVIK_VERSION);
  }
  std::string text = firstRow_ ? "\n" : ",\n";
  firstRow_ = false;
  return text + jsonRow(row);
}

std::string ResultTable::closing() const {
  if (format_ != TableFormat::kJson) return {};
  return firstRow_ ? "]\n" : "\n]\n";
}

std::string ResultTable::csvRow(const AnalysisRow& row) const {
  std::string line = csvCell(row.file);
  line += ',';
  line += seedText(row.seed);
  const auto addField = [&line](const std::string& field) {
    line += ',';
    line += field;
  };
  if (row.numbers) {
    const AnalysisNumbers& numbers = *row.numbers;
    addField(std::to_string(numbers.settlements));
    addField(std::to_string(row.sizesRead));
    addField(std::to_string(row.leftOut));
    addField(std::to_string(numbers.resamples));
    addField(numberText(numbers.a));
    line += csvRangeCells(numbers.ranges);
  } else {
    line.append(5 + 3 * levels_.size(), ',');
  }
  addField(csvCell(row.error));
  addField(row.numbers ? csvCell(row.note) : std::string());
  line += '\n';
  return line;
}

std::string ResultTable::jsonRow(const AnalysisRow& row) const {
  std::string object;
  addJsonMember(object, "file", jsonString(row.file));
  addJsonMember(object, "seed", seedText(row.seed));
  if (!row.numbers) {
    addJsonMember(object, "error", jsonString(row.error));
    object += '}';
    return object;
  }
  const AnalysisNumbers& numbers = *row.numbers;
  addJsonMember(object, "settlements", std::to_string(numbers.settlements));
  addJsonMember(object, "sizes_read", std::to_string(row.sizesRead));
  addJsonMember(object, "left_out", std::to_string(row.leftOut));
  addJsonMember(object, "resamples", std::to_string(numbers.resamples));
  addJsonMember(object, "A", jsonNumber(numbers.a));
  object += jsonRanges(numbers.ranges);
  addJsonMember(object, "note", jsonString(row.note));
  object += '}';
  return object;
}

}  // namespace talvik
