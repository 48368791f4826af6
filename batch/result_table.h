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

// A CSV cell of `text`, quoted when it holds a comma, a quote or a line end.
std::string csvCell(std::string_view text);
// A JSON string of `text`, its bytes that are not UTF-8 as U+FFFD.
std::string jsonString(std::string_view text);
// A JSON number, or a string for the values JSON has no number for ("-inf").
std::string jsonNumber(float value);

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
