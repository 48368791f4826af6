#ifndef TALVIK_BATCH_CSV_SIZES_H_
#define TALVIK_BATCH_CSV_SIZES_H_

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "analysis/byte_source.h"
#include "batch/csv_records.h"

namespace talvik {

// How sizes stand in a CSV file.
struct CsvLayout {
  char separator = ',';
  // "12,5" is 12.5, and points may group whole digits: "12.345,5"
  bool decimalComma = false;
  bool header = false;     // the first row names the columns
  int columnNumber = 0;    // counted from 1; 0 when columnName is used
  std::string columnName;  // looked up in the header
};

// One cell of the column, a size or a missing value, and the line it starts
// on.
struct CsvSize {
  float size = 0.0f;  // 0 for a missing value
  std::int64_t line = 0;
  bool missing = false;
  std::string missingMark;  // as written ("NA"); empty for an empty cell
};

// Reads the sizes of one column, row by row, in bounded memory however long
// the file. A cell is a plain decimal number (an optional sign, digits with a
// decimal mark, an optional exponent), blanks around it allowed; with the
// separator "," a quoted cell may group its whole digits by commas in threes,
// and with the decimal comma any cell may group them by points in threes
// ("12.345.678,5"). Numbers become floats correctly rounded, exactly as the
// size-file reader converts them. An empty cell, or one holding only a
// missing-value mark (NA, N/A, #N/A, - or .., any letter case), is a missing
// value. Blank rows are passed over; any other text, or a row of more cells
// than the first (a number grouped without quotes) is a problem naming its
// line, and the column and the cell when a cell is at fault. A column name is
// a header cell equal to it, or else the one cell equal to it when ASCII
// letter case and blanks around the name are set aside.
class CsvSizeReader {
 public:
  // So many sizes, all with three digits after a point, look grouped.
  static constexpr std::int64_t kGroupedLookingSizes = 5;

  // REQUIRES: layout.columnNumber >= 1 or layout.columnName is not empty
  CsvSizeReader(ByteSource& file, const CsvLayout& layout);

  // The next size or missing value, or nullopt at the end of the file or at
  // the first problem.
  std::optional<CsvSize> next();

  // The problem that ended the reading, if any.
  const std::optional<CsvProblem>& problem() const { return problem_; }

  // What a missing value returned by next() is, as a message says it.
  std::string missingValueMessage(const CsvSize& value) const;

  // Once the sizes are read: a warning for the file when they look like
  // whole numbers grouped by points ("1.361") read without the decimal comma,
  // i.e. at least kGroupedLookingSizes sizes and every one a digit 1 to 9 and
  // at most two more digits, a point and three digits.
  std::optional<std::string> groupingPointsDoubt() const;

 private:
  bool findColumn();
  std::optional<CsvRecord> nextNonBlankRecord(std::string_view name = {});
  std::string columnLabel() const;
  std::string columnsOf(const CsvRecord& header) const;
  std::optional<float> sizeOf(const CsvCell& cell) const;
  void noteLookOf(const CsvCell& cell);
  void fail(std::int64_t line, std::string reason);

  CsvRecordReader records_;
  CsvLayout layout_;
  bool started_ = false;
  std::int64_t column_ = 0;         // counted from 1, once known
  std::int64_t firstRowCells_ = 0;  // of the header or the first row, once read
  std::optional<CsvProblem> problem_;
  std::int64_t sizeCount_ = 0;
  bool allLookGrouped_ = true;  // of the sizes so far
};

}  // namespace talvik

#endif  // TALVIK_BATCH_CSV_SIZES_H_
