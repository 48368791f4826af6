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
  bool decimalComma = false;  // "12,5" is 12.5; no grouping then
  bool header = false;        // the first row names the columns
  int columnNumber = 0;       // counted from 1; 0 when columnName is used
  std::string columnName;     // looked up in the header
};

// One size of the column and the line its cell starts on.
struct CsvSize {
  float size = 0.0f;
  std::int64_t line = 0;
};

// Reads the sizes of one column, row by row, in bounded memory however long
// the file. A cell is a plain decimal number (an optional sign, digits with a
// decimal mark, an optional exponent), blanks around it allowed; with the
// separator "," a quoted cell may group its whole digits by commas in threes.
// Numbers become floats correctly rounded, exactly as the size-file reader
// converts them. Blank rows are passed over; an empty cell in any other row,
// any other text, or a row of more cells than the first (a number grouped
// without quotes) is a problem naming its line, and the column and the cell
// when a cell is at fault.
class CsvSizeReader {
 public:
  // REQUIRES: layout.columnNumber >= 1 or layout.columnName is not empty
  CsvSizeReader(ByteSource& file, const CsvLayout& layout);

  // The next size, or nullopt at the end of the file or at the first problem.
  std::optional<CsvSize> next();

  // The problem that ended the reading, if any.
  const std::optional<CsvProblem>& problem() const { return problem_; }

 private:
  bool findColumn();
  std::optional<CsvRecord> nextNonBlankRecord(std::string_view name = {});
  std::string columnLabel() const;
  std::optional<float> sizeOf(const CsvCell& cell) const;
  void fail(std::int64_t line, std::string reason);

  CsvRecordReader records_;
  CsvLayout layout_;
  bool started_ = false;
  std::int64_t column_ = 0;         // counted from 1, once known
  std::int64_t firstRowCells_ = 0;  // of the header or the first row, once read
  std::optional<CsvProblem> problem_;
};

}  // namespace talvik

#endif  // TALVIK_BATCH_CSV_SIZES_H_
