#include "batch/csv_sizes.h"

#include <string_view>
#include <utility>

#include "analysis/size_value.h"

namespace talvik {
namespace {

constexpr std::size_t kBufferSize = 64 * 1024;
// Enough of a cell to recognise it in a message.
constexpr std::size_t kShownCellBytes = 40;

bool isBlank(char c) { return c == ' ' || c == '\t'; }
bool isDigit(char c) { return c >= '0' && c <= '9'; }

std::string_view trimmed(std::string_view text) {
  while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);
  return text;
}

// A cell as a message shows it: quoted, control bytes escaped, cut short.
std::string shownCell(std::string_view text, bool tooLong) {
  constexpr char kHex[] = "0123456789abcdef";
  std::string shown = "\"";
  for (std::size_t i = 0; i < text.size() && i < kShownCellBytes; ++i) {
    const auto byte = static_cast<unsigned char>(text[i]);
    if (byte < 0x20 || byte == 0x7f) {
      shown += "\\x";
      shown += kHex[byte >> 4];
      shown += kHex[byte & 0xf];
    } else {
      shown += text[i];
    }
  }
  if (tooLong || text.size() > kShownCellBytes) shown += "...";
  shown += "\"";
  return shown;
}

std::size_t digitsFrom(std::string_view text, std::size_t position) {
  std::size_t end = position;
  while (end < text.size() && isDigit(text[end])) ++end;
  return end - position;
}

// The number of a cell as the size value scanner reads it ("-1234.5e3"), or
// nullopt when the cell is no plain decimal number. `grouping` allows commas
// between threes of the whole digits; `decimalMark` is "." or ",".
std::optional<std::string> plainNumber(std::string_view text, bool grouping,
                                       char decimalMark) {
  std::string number;
  std::size_t position = 0;
  if (position < text.size() && (text[0] == '+' || text[0] == '-')) {
    number += text[position++];
  }
  std::size_t wholeDigits = digitsFrom(text, position);
  number.append(text.substr(position, wholeDigits));
  position += wholeDigits;
  if (grouping && position < text.size() && text[position] == ',') {
    if (wholeDigits < 1 || wholeDigits > 3) return std::nullopt;
    while (position < text.size() && text[position] == ',') {
      if (digitsFrom(text, position + 1) != 3) return std::nullopt;
      number.append(text.substr(position + 1, 3));
      position += 4;
    }
  }
  std::size_t fractionDigits = 0;
  if (position < text.size() && text[position] == decimalMark) {
    fractionDigits = digitsFrom(text, position + 1);
    number += '.';
    number.append(text.substr(position + 1, fractionDigits));
    position += 1 + fractionDigits;
  }
  if (wholeDigits + fractionDigits == 0) return std::nullopt;
  if (position < text.size() &&
      (text[position] == 'e' || text[position] == 'E')) {
    number += 'e';
    ++position;
    if (position < text.size() &&
        (text[position] == '+' || text[position] == '-')) {
      number += text[position++];
    }
    const std::size_t exponentDigits = digitsFrom(text, position);
    if (exponentDigits == 0) return std::nullopt;
    number.append(text.substr(position, exponentDigits));
    position += exponentDigits;
  }
  if (position != text.size()) return std::nullopt;
  return number;
}

}  // namespace

CsvSizeReader::CsvSizeReader(ByteSource& file, const CsvLayout& layout)
    : file_(file), layout_(layout), buffer_(kBufferSize) {}

int CsvSizeReader::peek() {
  const int c = get();
  if (c >= 0) {
    pushedBack_.push_back(static_cast<char>(c));
    if (c == '\n') --line_;
  }
  return c;
}

int CsvSizeReader::get() {
  char c;
  if (!pushedBack_.empty()) {
    c = pushedBack_.back();
    pushedBack_.pop_back();
  } else {
    if (position_ == filled_) {
      if (ended_) return readFailed_ ? kFailure : kEndOfFile;
      const std::optional<std::size_t> count =
          file_.read(buffer_.data(), buffer_.size());
      if (!count || *count == 0) {
        ended_ = true;
        readFailed_ = !count;
        return readFailed_ ? kFailure : kEndOfFile;
      }
      position_ = 0;
      filled_ = *count;
    }
    c = buffer_[position_++];
  }
  if (c == '\n') ++line_;
  return static_cast<unsigned char>(c);
}

// Only a whole mark is dropped; the bytes of a partial one are read as usual.
void CsvSizeReader::skipByteOrderMark() {
  constexpr unsigned char kMark[] = {0xEF, 0xBB, 0xBF};
  std::string read;
  for (const unsigned char expected : kMark) {
    const int c = get();
    if (c < 0) break;
    read.push_back(static_cast<char>(c));
    if (c != expected) break;
  }
  if (read.size() == sizeof kMark &&
      static_cast<unsigned char>(read.back()) == kMark[2]) {
    return;
  }
  for (auto c = read.rbegin(); c != read.rend(); ++c) {
    pushedBack_.push_back(*c);
    if (*c == '\n') --line_;
  }
}

void CsvSizeReader::fail(std::int64_t line, std::string reason) {
  if (!problem_) problem_ = CsvProblem{line, std::move(reason)};
}

std::optional<CsvSizeReader::CellEnd> CsvSizeReader::cellEndAt(int c) {
  if (c == layout_.separator) return CellEnd::kSeparator;
  if (c == '\n') return CellEnd::kRecordEnd;
  if (c == '\r' && peek() == '\n') {
    get();
    return CellEnd::kRecordEnd;
  }
  if (c == kEndOfFile) return CellEnd::kFileEnd;
  return std::nullopt;
}

void CsvSizeReader::append(Cell& cell, int c) {
  if (cell.text.size() < kMaxCellBytes) {
    cell.text.push_back(static_cast<char>(c));
  } else {
    cell.tooLong = true;
  }
}

// After the closing quote only blanks may come before the cell ends.
bool CsvSizeReader::readQuoted(Cell& cell) {
  for (;;) {
    const int c = get();
    if (c == kFailure) {
      fail(line_, "the system refused a read");
      return false;
    }
    if (c == kEndOfFile) {
      fail(cell.line, "a quoted cell is not closed");
      return false;
    }
    if (c == '"') {
      if (peek() != '"') break;
      get();
    }
    append(cell, c);
  }
  for (;;) {
    const int c = get();
    if (const std::optional<CellEnd> end = cellEndAt(c)) {
      cell.end = *end;
    } else if (c >= 0 && isBlank(static_cast<char>(c))) {
      continue;
    } else if (c == kFailure) {
      fail(line_, "the system refused a read");
      return false;
    } else {
      fail(cell.line, "text after the closing quote of a cell");
      return false;
    }
    cell.text = std::string(trimmed(cell.text));
    return true;
  }
}

bool CsvSizeReader::readCell(Cell& cell) {
  cell = Cell{};
  cell.line = line_;
  for (;;) {
    const int c = get();
    if (c == kFailure) {
      fail(line_, "the system refused a read");
      return false;
    }
    if (const std::optional<CellEnd> end = cellEndAt(c)) {
      cell.end = *end;
      break;
    }
    if (c == '"') {
      if (!trimmed(cell.text).empty() || cell.tooLong) {
        fail(cell.line, "a quote inside a cell that does not start with one");
        return false;
      }
      cell.text.clear();
      cell.quoted = true;
      return readQuoted(cell);
    }
    append(cell, c);
  }
  cell.text = std::string(trimmed(cell.text));
  return true;
}

std::optional<CsvSizeReader::Record> CsvSizeReader::readRecord(bool keepNames) {
  if (peek() == kEndOfFile) return std::nullopt;
  Record record;
  record.line = line_;
  Cell cell;
  do {
    if (!readCell(cell)) return std::nullopt;
    ++record.cellCount;
    if (!cell.text.empty() || cell.tooLong) record.blank = false;
    if (keepNames) record.names.push_back(cell.text);
    if (record.cellCount == column_) record.selected = cell;
  } while (cell.end == CellEnd::kSeparator);
  return record;
}

std::optional<CsvSizeReader::Record> CsvSizeReader::nextNonBlankRecord(
    bool keepNames) {
  for (;;) {
    std::optional<Record> record = readRecord(keepNames);
    if (!record || !record->blank) return record;
  }
}

// With a column name the header gives the column's number; with a number and
// a header, the header is passed over.
bool CsvSizeReader::findColumn() {
  column_ = layout_.columnNumber;
  if (!layout_.header) return true;
  const std::optional<Record> header = nextNonBlankRecord(true);
  if (!header) {
    if (!problem_ && !layout_.columnName.empty()) {
      fail(line_,
           "no header row naming the column \"" + layout_.columnName + "\"");
    }
    return false;
  }
  firstRowCells_ = header->cellCount;
  if (layout_.columnName.empty()) return true;
  for (std::size_t i = 0; i < header->names.size(); ++i) {
    if (header->names[i] != layout_.columnName) continue;
    if (column_ != 0) {
      fail(header->line,
           "the header names the column \"" + layout_.columnName + "\" twice");
      return false;
    }
    column_ = static_cast<int>(i) + 1;
  }
  if (column_ == 0) {
    fail(header->line,
         "the header has no column \"" + layout_.columnName + "\"");
    return false;
  }
  return true;
}

std::string CsvSizeReader::columnLabel() const {
  std::string label = "column ";
  label += std::to_string(column_);
  if (!layout_.columnName.empty()) {
    label += " (\"" + layout_.columnName + "\")";
  }
  return label;
}

std::optional<float> CsvSizeReader::sizeOf(const Cell& cell) const {
  if (cell.tooLong) return std::nullopt;
  const bool grouping =
      cell.quoted && layout_.separator == ',' && !layout_.decimalComma;
  const std::optional<std::string> number =
      plainNumber(cell.text, grouping, layout_.decimalComma ? ',' : '.');
  if (!number) return std::nullopt;
  SizeValueScanner scanner;
  for (const char c : *number) scanner.add(c);
  return scanner.value();
}

std::optional<CsvSize> CsvSizeReader::next() {
  if (problem_) return std::nullopt;
  if (!started_) {
    started_ = true;
    skipByteOrderMark();
    if (!findColumn()) return std::nullopt;
  }
  const std::optional<Record> record = nextNonBlankRecord(false);
  if (!record) return std::nullopt;
  if (firstRowCells_ == 0) firstRowCells_ = record->cellCount;
  if (record->cellCount > firstRowCells_) {
    // What a spreadsheet writes as "16,395" without quotes.
    std::string reason = "the row has ";
    reason += std::to_string(record->cellCount);
    reason += " cells, more than the ";
    reason += std::to_string(firstRowCells_);
    reason += " of the first row (a comma in a number without quotes?)";
    fail(record->line, std::move(reason));
    return std::nullopt;
  }
  if (!record->selected) {
    std::string reason = "the row has ";
    reason += std::to_string(record->cellCount);
    reason += record->cellCount == 1 ? " cell, no " : " cells, no ";
    reason += columnLabel();
    fail(record->line, std::move(reason));
    return std::nullopt;
  }
  const Cell& cell = *record->selected;
  if (cell.text.empty()) {
    fail(cell.line, columnLabel() + " is empty");
    return std::nullopt;
  }
  const std::optional<float> size = sizeOf(cell);
  if (!size) {
    fail(cell.line, columnLabel() + ": " + shownCell(cell.text, cell.tooLong) +
                        " is not a plain decimal number");
    return std::nullopt;
  }
  return CsvSize{*size, cell.line};
}

}  // namespace talvik
