#include "batch/csv_sizes.h"

#include <cstddef>
#include <string>
#include <utility>

#include "analysis/plain_decimal.h"
#include "analysis/size_value.h"
#include "session/console/shown_text.h"

namespace talvik {
namespace {

// Enough of a cell to recognise it in a message.
constexpr std::size_t kShownCellBytes = 40;

// A cell as a message shows it: quoted, control bytes escaped, cut short.
std::string shownCell(const CsvCell& cell) {
  std::string shown = "\"";
  shown += shownText(cell.text, kShownCellBytes);
  // A cell too long to be kept whole is cut even where its kept part is short
  // (blanks before it are not kept).
  if (cell.tooLong && cell.text.size() <= kShownCellBytes) shown += "...";
  shown += '"';
  return shown;
}

}  // namespace

CsvSizeReader::CsvSizeReader(ByteSource& file, const CsvLayout& layout)
    : records_(file, layout.separator), layout_(layout) {}

void CsvSizeReader::fail(std::int64_t line, std::string reason) {
  if (!problem_) problem_ = CsvProblem{line, std::move(reason)};
}

std::optional<CsvRecord> CsvSizeReader::nextNonBlankRecord(
    std::string_view name) {
  std::optional<CsvRecord> record = records_.nextNonBlank(column_, name);
  if (!record && records_.problem()) {
    fail(records_.problem()->line, records_.problem()->reason);
  }
  return record;
}

// With a column name the header gives the column's number; with a number and
// a header, the header is passed over.
bool CsvSizeReader::findColumn() {
  column_ = layout_.columnNumber;
  if (!layout_.header) return true;
  const std::optional<CsvRecord> header =
      nextNonBlankRecord(layout_.columnName);
  if (!header) {
    if (!problem_ && !layout_.columnName.empty()) {
      fail(records_.line(),
           "no header row naming the column \"" + layout_.columnName + "\"");
    }
    return false;
  }
  firstRowCells_ = header->cellCount;
  if (layout_.columnName.empty()) return true;
  if (header->named.size() > 1) {
    fail(header->line,
         "the header names the column \"" + layout_.columnName + "\" twice");
    return false;
  }
  if (header->named.empty()) {
    fail(header->line,
         "the header has no column \"" + layout_.columnName + "\"");
    return false;
  }
  column_ = header->named.front();
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

std::optional<float> CsvSizeReader::sizeOf(const CsvCell& cell) const {
  if (cell.tooLong) return std::nullopt;
  DecimalNotation notation;
  notation.decimalMark = layout_.decimalComma ? ',' : '.';
  // Only a quoted cell can hold the separator's commas as groups.
  notation.thousandsGroups =
      cell.quoted && layout_.separator == ',' && !layout_.decimalComma;
  const std::optional<std::string> number = plainDecimal(cell.text, notation);
  if (!number) return std::nullopt;
  SizeValueScanner scanner;
  for (const char c : *number) scanner.add(c);
  return scanner.value();
}

std::optional<CsvSize> CsvSizeReader::next() {
  if (problem_) return std::nullopt;
  if (!started_) {
    started_ = true;
    if (!findColumn()) return std::nullopt;
  }
  const std::optional<CsvRecord> record = nextNonBlankRecord();
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
  const CsvCell& cell = *record->selected;
  if (cell.text.empty()) {
    fail(cell.line, columnLabel() + " is empty");
    return std::nullopt;
  }
  const std::optional<float> size = sizeOf(cell);
  if (!size) {
    fail(cell.line, columnLabel() + ": " + shownCell(cell) +
                        " is not a plain decimal number");
    return std::nullopt;
  }
  return CsvSize{*size, cell.line};
}

}  // namespace talvik
