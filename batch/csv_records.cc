#include "batch/csv_records.h"

#include <string_view>
#include <utility>

namespace talvik {
namespace {

constexpr int kEndOfFile = BufferedBytes::kEndOfFile;
constexpr int kFailure = BufferedBytes::kFailure;
constexpr char kByteOrderMark[] = "\xEF\xBB\xBF";
constexpr char kRefusedRead[] = "the system refused a read";

bool isBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view trimmed(std::string_view text) {
  while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);
  return text;
}

char lowerCase(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// Whether two texts differ at most in the case of ASCII letters; other bytes,
// those of other scripts among them, must be equal.
bool sameAsideFromCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (lowerCase(a[i]) != lowerCase(b[i])) return false;
  }
  return true;
}

}  // namespace

CsvRecordReader::CsvRecordReader(ByteSource& file, char separator)
    : bytes_(file), separator_(separator) {}

void CsvRecordReader::fail(std::int64_t line, std::string reason) {
  if (!problem_) problem_ = CsvProblem{line, std::move(reason)};
}

std::optional<CsvRecordReader::CellEnd> CsvRecordReader::cellEndAt(int c) {
  // Compared as a byte: a separator above 127 is no negative char, no ending.
  if (c == static_cast<unsigned char>(separator_)) return CellEnd::kSeparator;
  if (c == '\n') return CellEnd::kRecordEnd;
  if (c == '\r' && bytes_.peek() == '\n') {
    bytes_.next();
    return CellEnd::kRecordEnd;
  }
  if (c == kEndOfFile) return CellEnd::kFileEnd;
  return std::nullopt;
}

void CsvRecordReader::append(CsvCell& cell, int c) {
  if (cell.text.size() < kMaxCellBytes) {
    cell.text.push_back(static_cast<char>(c));
  } else {
    cell.tooLong = true;
  }
}

// After the closing quote only blanks may come before the cell ends.
std::optional<CsvRecordReader::CellEnd> CsvRecordReader::readQuoted(
    CsvCell& cell) {
  for (;;) {
    const int c = bytes_.next();
    if (c == kFailure) {
      fail(bytes_.line(), kRefusedRead);
      return std::nullopt;
    }
    if (c == kEndOfFile) {
      fail(cell.line, "a quoted cell is not closed");
      return std::nullopt;
    }
    if (c == '"') {
      if (bytes_.peek() != '"') break;
      bytes_.next();
    }
    append(cell, c);
  }
  for (;;) {
    const int c = bytes_.next();
    if (const std::optional<CellEnd> end = cellEndAt(c)) {
      cell.text = std::string(trimmed(cell.text));
      return end;
    }
    if (c == kFailure) {
      fail(bytes_.line(), kRefusedRead);
      return std::nullopt;
    }
    if (!isBlank(static_cast<char>(c))) {
      fail(cell.line, "text after the closing quote of a cell");
      return std::nullopt;
    }
  }
}

std::optional<CsvRecordReader::CellEnd> CsvRecordReader::readCell(
    CsvCell& cell) {
  cell = CsvCell{};
  cell.line = bytes_.line();
  for (;;) {
    const int c = bytes_.next();
    if (c == kFailure) {
      fail(bytes_.line(), kRefusedRead);
      return std::nullopt;
    }
    if (const std::optional<CellEnd> end = cellEndAt(c)) {
      cell.text = std::string(trimmed(cell.text));
      return end;
    }
    if (c == '"') {
      if (!trimmed(cell.text).empty() || cell.tooLong) {
        fail(cell.line, "a quote inside a cell that does not start with one");
        return std::nullopt;
      }
      cell.text.clear();
      cell.quoted = true;
      return readQuoted(cell);
    }
    append(cell, c);
  }
}

// Of the cells bearing the name, exactly or loosely, only the first two of
// each kind are kept: enough to find a column and to see it named twice,
// however many cells the record has.
void CsvRecordReader::noteName(CsvRecord& record, const CsvCell& cell,
                               std::string_view name,
                               std::string_view looseName) {
  constexpr std::size_t kNamedKept = 2;
  if (record.leading.size() < CsvRecord::kListedCells) {
    record.leading.push_back(cell);
  }
  if (cell.tooLong) return;
  if (record.named.size() < kNamedKept && cell.text == name) {
    record.named.push_back(record.cellCount);
  }
  if (record.namedLoosely.size() < kNamedKept &&
      sameAsideFromCase(cell.text, looseName)) {
    record.namedLoosely.push_back(record.cellCount);
  }
}

std::optional<CsvRecord> CsvRecordReader::readRecord(std::int64_t column,
                                                     std::string_view name) {
  if (bytes_.peek() == kEndOfFile) return std::nullopt;
  CsvRecord record;
  record.line = bytes_.line();
  const std::string_view looseName = trimmed(name);
  CsvCell cell;
  std::optional<CellEnd> end;
  do {
    end = readCell(cell);
    if (!end) return std::nullopt;
    ++record.cellCount;
    if (!cell.text.empty() || cell.tooLong) record.blank = false;
    if (!name.empty()) noteName(record, cell, name, looseName);
    if (record.cellCount == column) record.selected = cell;
  } while (*end == CellEnd::kSeparator);
  return record;
}

std::optional<CsvRecord> CsvRecordReader::nextNonBlank(std::int64_t column,
                                                       std::string_view name) {
  if (problem_) return std::nullopt;
  if (!started_) {
    started_ = true;
    // Only a whole mark is dropped; the bytes of a partial one are read as
    // usual.
    bytes_.skipIfNext(kByteOrderMark);
  }
  for (;;) {
    std::optional<CsvRecord> record = readRecord(column, name);
    if (!record || !record->blank) return record;
  }
}

}  // namespace talvik
