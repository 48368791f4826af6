#ifndef TALVIK_BATCH_CSV_RECORDS_H_
#define TALVIK_BATCH_CSV_RECORDS_H_

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "analysis/buffered_bytes.h"
#include "analysis/byte_source.h"

namespace talvik {

// Why a CSV file cannot be read, and the line where that was found.
struct CsvProblem {
  std::int64_t line = 0;
  std::string reason;
};

// One cell as read: its text without the quotes and the blanks around it.
struct CsvCell {
  std::string text;      // at most CsvRecordReader::kMaxCellBytes
  bool tooLong = false;  // only the cell's start is in `text`
  bool quoted = false;
  std::int64_t line = 0;  // where the cell starts
};

// One record: how many cells it has, the one asked for, and where a name
// asked for stands.
struct CsvRecord {
  // How many cells of a header are kept to list its columns in a message.
  static constexpr std::size_t kListedCells = 10;

  std::int64_t line = 0;
  bool blank = true;                // every cell empty
  std::int64_t cellCount = 0;       // a row may hold more than 2^31
  std::optional<CsvCell> selected;  // the asked-for cell, when there is one
  // The cells (counted from 1) whose text is the asked-for name: the first
  // two at most, enough to find a column and to see it named twice, however
  // many cells the record has.
  std::vector<std::int64_t> named;
  // The same for cells whose text is the name when letter case (ASCII) and
  // blanks around the name are set aside.
  std::vector<std::int64_t> namedLoosely;
  // When a name is asked for, the first kListedCells cells.
  std::vector<CsvCell> leading;
};

// Reads the records of a CSV file (RFC 4180: quoted cells with doubled
// quotes, CR LF or LF record ends, a byte-order mark at the start ignored)
// in bounded memory however long its cells. Blanks around a cell are not
// part of it; after a closing quote only blanks may stand.
class CsvRecordReader {
 public:
  // Far longer than any number; beyond it a cell is only marked too long.
  static constexpr std::size_t kMaxCellBytes = 4096;

  CsvRecordReader(ByteSource& file, char separator);

  // The next record that is not blank, with the cell of `column` (counted
  // from 1; 0 for none) and, when `name` is not empty, the cells whose text
  // is `name` and the leading cells. Nullopt at the end of the file or at
  // the first problem.
  std::optional<CsvRecord> nextNonBlank(std::int64_t column,
                                        std::string_view name = {});

  // The problem that ended the reading, if any.
  const std::optional<CsvProblem>& problem() const { return problem_; }

  // The line of the next byte, from 1.
  std::int64_t line() const { return bytes_.line(); }

 private:
  enum class CellEnd { kSeparator, kRecordEnd, kFileEnd };

  std::optional<CsvRecord> readRecord(std::int64_t column,
                                      std::string_view name);
  // Notes where a header cell bears the asked-for name and keeps it to list.
  static void noteName(CsvRecord& record, const CsvCell& cell,
                       std::string_view name, std::string_view looseName);
  // How the cell ends, or nullopt at a problem.
  std::optional<CellEnd> readCell(CsvCell& cell);
  std::optional<CellEnd> readQuoted(CsvCell& cell);
  // How a cell ends at `c` (a CR LF taken whole), or nullopt if it goes on.
  std::optional<CellEnd> cellEndAt(int c);
  // Keeps at most kMaxCellBytes of a cell; a longer one is marked too long.
  static void append(CsvCell& cell, int c);
  void fail(std::int64_t line, std::string reason);

  BufferedBytes bytes_;
  char separator_;
  bool started_ = false;
  std::optional<CsvProblem> problem_;
};

}  // namespace talvik

#endif  // TALVIK_BATCH_CSV_RECORDS_H_
