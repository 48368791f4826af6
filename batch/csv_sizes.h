#ifndef TALVIK_BATCH_CSV_SIZES_H_
#define TALVIK_BATCH_CSV_SIZES_H_

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "analysis/byte_source.h"

namespace talvik {

// How sizes stand in a CSV file (RFC 4180: quoted cells with doubled quotes,
// CR LF or LF record ends, a byte-order mark at the start ignored).
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

// Why the file cannot be read, and the line where that was found.
struct CsvProblem {
  std::int64_t line = 0;
  std::string reason;
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
  enum class CellEnd { kSeparator, kRecordEnd, kFileEnd };
  struct Cell {
    std::string text;  // up to kMaxCellBytes, blanks around it removed
    bool tooLong = false;
    bool quoted = false;
    std::int64_t line = 0;
    CellEnd end = CellEnd::kFileEnd;
  };
  struct Record {
    std::int64_t line = 0;
    bool blank = true;
    int cellCount = 0;
    std::optional<Cell> selected;    // the column's cell, when the row has it
    std::vector<std::string> names;  // every cell, for the header
  };

  static constexpr int kEndOfFile = -1;
  static constexpr int kFailure = -2;
  // Far longer than any number; beyond it a cell is only marked too long.
  static constexpr std::size_t kMaxCellBytes = 4096;

  int get();
  int peek();
  void skipByteOrderMark();
  bool readCell(Cell& cell);
  bool readQuoted(Cell& cell);
  // How a cell ends at `c` (a CR LF taken whole), or nullopt if it goes on.
  std::optional<CellEnd> cellEndAt(int c);
  // Keeps at most kMaxCellBytes of a cell; a longer one is marked too long.
  void append(Cell& cell, int c);
  // The next record, or nullopt at the end of the file or at a problem.
  std::optional<Record> readRecord(bool keepNames);
  std::optional<Record> nextNonBlankRecord(bool keepNames);
  bool findColumn();
  std::string columnLabel() const;
  std::optional<float> sizeOf(const Cell& cell) const;
  void fail(std::int64_t line, std::string reason);

  ByteSource& file_;
  CsvLayout layout_;
  std::vector<char> buffer_;
  std::size_t position_ = 0;
  std::size_t filled_ = 0;
  std::string pushedBack_;  // bytes read ahead, handed out before the buffer
  bool ended_ = false;
  bool readFailed_ = false;
  std::int64_t line_ = 1;  // the line of the next byte
  bool started_ = false;
  int column_ = 0;         // counted from 1, once known
  int firstRowCells_ = 0;  // of the header or the first row, once read
  std::optional<CsvProblem> problem_;
};

}  // namespace talvik

#endif  // TALVIK_BATCH_CSV_SIZES_H_
