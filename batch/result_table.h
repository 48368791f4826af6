#ifndef TALVIK_BATCH_RESULT_TABLE_H_
#define TALVIK_BATCH_RESULT_TABLE_H_

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "batch/table_rows.h"

namespace talvik {

// The shortest decimal that reads back as the same float, or "inf", "-inf",
// "nan", "-nan".
std::string numberText(float value);

// The pieces of every table: a CSV cell, quoted when it must be; a JSON
// string, bytes that are not UTF-8 as U+FFFD; a JSON number, a string for
// the values JSON has none for; whether a range has a width, which needs
// both bounds finite.
std::string csvCell(std::string_view text);
std::string jsonString(std::string_view text);
std::string jsonNumber(float value);
bool hasWidth(const ErrorRange& range);

// Appends the member `"name": value` to the JSON object being written in
// `object`: the object's opening before the first member, a comma before the
// others.
void addJsonMember(std::string& object, std::string_view name,
                   std::string_view value);

// The levels of a table: the fixed ones, then `extraLevels`.
std::vector<int> tableLevels(std::span<const int> extraLevels);
// The CSV header's columns of these levels' ranges:
// ",lower_P,upper_P,range_P" for each.
std::string csvRangeColumns(std::span<const int> levels);
// The CSV cells of the ranges, each after a comma.
std::string csvRangeCells(std::span<const ErrorRange> ranges);
// The JSON member of the ranges, after a comma: , "ranges": [...].
std::string jsonRanges(std::span<const ErrorRange> ranges);

// Writes the table piece by piece, so that rows go out as they come. Numbers
// are numberText's; seeds the shortest decimals that read back as the same
// double. A range whose bounds are not both finite has no width: its cell is
// empty, its JSON value null.
//   CSV: a header, then one line per row, the error and the note last (empty
//   on success, and when there is nothing to note).
//   JSON: an array of one object per row; non-finite numbers as strings.
//   Text: textLine's line per row, nothing before or after.
class ResultTable {
 public:
  // `extraLevels` are the levels reported after the fixed ones; `textLevel`
  // the only level of the text lines, which show every level without it.
  ResultTable(TableFormat format, std::span<const int> extraLevels,
              std::optional<int> textLevel = std::nullopt);

  // The text before the first row.
  std::string opening() const;
  // The text of the next row.
  // REQUIRES: row.numbers holds 5 + extraLevels.size() ranges when set
  std::string row(const AnalysisRow& row);
  // The text after the last row.
  std::string closing() const;

 private:
  std::string csvRow(const AnalysisRow& row) const;
  std::string jsonRow(const AnalysisRow& row) const;

  TableFormat format_;
  std::vector<int> levels_;  // all of them, the fixed ones first
  std::vector<int> textLevels_;
  bool firstRow_ = true;
};

}  // namespace talvik

#endif  // TALVIK_BATCH_RESULT_TABLE_H_
