#include "plot/plotting_rows.h"

#include <algorithm>
#include <charconv>
#include <string>
#include <system_error>

#include "fast_float/fast_float.h"

#include "analysis/number_characters.h"
#include "plot/plot_error.h"
#include "session/console/shown_text.h"

namespace talvik {
namespace {

constexpr std::size_t kMaxRows = 1000;
constexpr std::size_t kRankWidth = 4;
constexpr std::size_t kSizeWidth = 15;
constexpr std::size_t kDecimals = 4;
constexpr std::size_t kFieldsPerRow = 1 + kSizeColumnCount;
constexpr std::size_t kShownFieldBytes = 40;

// Splits the text into records, each without its CR LF or LF. A last record
// without a record end still counts.
std::vector<std::string_view> splitRecords(std::string_view text) {
  std::vector<std::string_view> records;
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    std::string_view record = text.substr(0, end);
    if (end != std::string_view::npos && record.ends_with('\r')) {
      record.remove_suffix(1);
    }
    records.push_back(record);
    text = end == std::string_view::npos ? std::string_view()
                                         : text.substr(end + 1);
  }
  return records;
}

std::vector<std::string_view> splitFields(std::string_view record) {
  std::vector<std::string_view> fields;
  std::size_t start = 0;
  for (std::size_t comma = record.find(','); comma != std::string_view::npos;
       comma = record.find(',', start)) {
    fields.push_back(record.substr(start, comma - start));
    start = comma + 1;
  }
  fields.push_back(record.substr(start));
  return fields;
}

// The field in quotes as a message shows it; a field of a good file is at
// most 15 bytes, so a longer cut still shows what went wrong.
std::string quoted(std::string_view field) {
  std::string shown = "\"";
  shown += shownText(field, kShownFieldBytes);
  return shown + "\"";
}

// A right-aligned field without its leading blanks; empty when the field is
// blank or has a blank after its first other character.
std::string_view rightAligned(std::string_view field) {
  const std::size_t first = field.find_first_not_of(' ');
  if (first == std::string_view::npos) return {};
  const std::string_view text = field.substr(first);
  return text.find(' ') == std::string_view::npos ? text : std::string_view();
}

// Whole digits as the writer prints them: "0", or no leading zero.
bool isWholeNumberText(std::string_view text) {
  return !text.empty() && std::all_of(text.begin(), text.end(), isDigit) &&
         (text.size() == 1 || text.front() != '0');
}

class RowReader {
 public:
  explicit RowReader(std::string_view fileName) : fileName_(fileName) {}

  [[noreturn]] void refuse(std::size_t line, std::string reason) const {
    throw PlotError{std::string(fileName_), line, std::move(reason),
                    "reading the plotting file"};
  }

  PlottingRow readRow(std::string_view record, std::size_t line,
                      int expectedRank) const {
    if (record.empty()) {
      refuse(line, "empty line where row " + std::to_string(expectedRank) +
                       " should be");
    }
    const std::vector<std::string_view> fields = splitFields(record);
    if (fields.size() != kFieldsPerRow) {
      refuse(line, "expected RANK and 4 sizes separated by commas, found " +
                       std::to_string(fields.size()) + " fields");
    }
    PlottingRow row;
    row.rank = readRank(fields[0], line);
    if (row.rank != expectedRank) {
      refuse(line, "RANK is " + std::to_string(row.rank) + ", expected " +
                       std::to_string(expectedRank));
    }
    for (std::size_t column = 0; column < kSizeColumnCount; ++column) {
      row.sizes[column] =
          readSize(fields[column + 1], kSizeColumnNames[column], line);
    }
    return row;
  }

 private:
  int readRank(std::string_view field, std::size_t line) const {
    const std::string_view text = rightAligned(field);
    if (field.size() != kRankWidth || !isWholeNumberText(text)) {
      refuse(line, "RANK " + quoted(field) +
                       " is not a whole number right-aligned in 4 characters");
    }
    int rank = 0;
    std::from_chars(text.data(), text.data() + text.size(), rank);
    return rank;
  }

  PlottedSize readSize(std::string_view field, std::string_view name,
                       std::size_t line) const {
    const std::string prefix = std::string(name) + " " + quoted(field);
    if (field.size() != kSizeWidth) {
      refuse(line, prefix + " is not 15 characters wide");
    }
    if (field == std::string(kSizeWidth, '*')) {
      return {SizeReading::kOverflow, 0.0};
    }
    std::string_view text = rightAligned(field);
    const bool negative = text.starts_with('-');
    if (negative) text.remove_prefix(1);
    if (text == "NaN") return {SizeReading::kNotANumber, 0.0};
    if (text == "INF") return {SizeReading::kInfinity, 0.0};
    const std::size_t point = text.find('.');
    if (point == std::string_view::npos ||
        !isWholeNumberText(text.substr(0, point)) ||
        text.size() - point - 1 != kDecimals ||
        !std::all_of(text.begin() + point + 1, text.end(), isDigit)) {
      refuse(line, prefix +
                       " is not a size with 4 decimals right-aligned in 15 "
                       "characters");
    }
    if (negative) refuse(line, prefix + " is negative");
    double value = 0.0;
    fast_float::from_chars(text.data(), text.data() + text.size(), value,
                           fast_float::chars_format::fixed);
    return {SizeReading::kNumber, value};
  }

  std::string_view fileName_;
};

}  // namespace

std::vector<PlottingRow> readPlottingRows(std::string_view text,
                                          std::string_view fileName) {
  const RowReader reader(fileName);
  const std::vector<std::string_view> records = splitRecords(text);
  if (records.empty()) {
    reader.refuse(1, "empty file, expected the header \"" +
                         std::string(kPlottingHeader) + "\"");
  }
  if (records.front() != kPlottingHeader) {
    reader.refuse(1,
                  "the header is not \"" + std::string(kPlottingHeader) + "\"");
  }
  if (records.size() == 1) reader.refuse(2, "no rows after the header");
  std::vector<PlottingRow> rows;
  for (std::size_t i = 1; i < records.size(); ++i) {
    if (i > kMaxRows) reader.refuse(i + 1, "more than 1000 rows");
    rows.push_back(reader.readRow(records[i], i + 1, static_cast<int>(i)));
  }
  return rows;
}

}  // namespace talvik
