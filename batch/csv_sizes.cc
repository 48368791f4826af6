#include "batch/csv_sizes.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "analysis/number_characters.h"
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

std::string shownName(const std::string& name) {
  std::string shown = "\"";
  shown += shownText(name, kShownCellBytes);
  shown += '"';
  return shown;
}

// The marks that spreadsheets, statistics packages and statistical offices
// write for a value not known; "." is not one, being too near a number.
bool isMissingMark(std::string_view text) {
  constexpr std::string_view kMarks[] = {"na", "n/a", "#n/a", "-", ".."};
  for (const std::string_view mark : kMarks) {
    if (text.size() != mark.size()) continue;
    bool same = true;
    for (std::size_t i = 0; i < text.size(); ++i) {
      const char c = text[i];
      same = same && (c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c) == mark[i];
    }
    if (same) return true;
  }
  return false;
}

// With the decimal comma, points may group the whole digits in threes
// ("12.345.678,5"): a first group of 1 to 3 digits, every later one of 3, and
// no point after them. Returns the text without those points, or nullopt
// when a point stands anywhere else.
std::optional<std::string> withoutGroupingPoints(std::string_view text) {
  std::size_t position = 0;
  if (position < text.size() && isSign(text[position])) ++position;
  std::string number(text.substr(0, position));
  std::size_t groupDigits = 0;
  bool grouped = false;
  for (; position < text.size(); ++position) {
    const char c = text[position];
    if (isDigit(c)) {
      number += c;
      ++groupDigits;
    } else if (c == '.') {
      if (grouped ? groupDigits != 3 : groupDigits < 1 || groupDigits > 3) {
        return std::nullopt;
      }
      grouped = true;
      groupDigits = 0;
    } else {
      break;
    }
  }
  if (grouped && groupDigits != 3) return std::nullopt;
  const std::string_view rest = text.substr(position);
  if (rest.find('.') != std::string_view::npos) return std::nullopt;
  number += rest;
  return number;
}

// "1.361" or "-12.500": what a whole number grouped by a point looks like.
bool looksGroupedByAPoint(std::string_view text) {
  if (!text.empty() && isSign(text.front())) text.remove_prefix(1);
  const std::size_t point = text.find('.');
  if (point < 1 || point > 3 || text.size() != point + 4 || text[0] == '0') {
    return false;
  }
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (i != point && !isDigit(text[i])) return false;
  }
  return true;
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
  // A cell bearing the name exactly wins; else one bearing it in other
  // letter case or with blanks around it.
  const std::vector<std::int64_t>& named =
      header->named.empty() ? header->namedLoosely : header->named;
  if (named.size() == 1) {
    column_ = named.front();
    return true;
  }
  const std::string name = shownName(layout_.columnName);
  std::string reason = named.empty() ? "the header has no column " + name
                       : header->named.empty()
                           ? "the header has more than one column " + name +
                                 " when letter case and blanks are set aside"
                           : "the header names the column " + name + " twice";
  fail(header->line, reason + "; " + columnsOf(*header));
  return false;
}

// "its 3 columns: "site", "ha", "note"", the first few of a wide header.
std::string CsvSizeReader::columnsOf(const CsvRecord& header) const {
  std::string list = "its ";
  list += std::to_string(header.cellCount);
  list += header.cellCount == 1 ? " column: " : " columns: ";
  for (std::size_t i = 0; i < header.leading.size(); ++i) {
    if (i > 0) list += ", ";
    list += shownCell(header.leading[i]);
  }
  const std::int64_t more =
      header.cellCount - static_cast<std::int64_t>(header.leading.size());
  if (more > 0) list += " and " + std::to_string(more) + " more";
  return list;
}

std::string CsvSizeReader::columnLabel() const {
  std::string label = "column ";
  label += std::to_string(column_);
  if (!layout_.columnName.empty()) {
    label += " (" + shownName(layout_.columnName) + ")";
  }
  return label;
}

std::string CsvSizeReader::missingValueMessage(const CsvSize& value) const {
  std::string message = "no size in " + columnLabel() + ": ";
  if (value.missingMark.empty()) return message + "the cell is empty";
  return message + shownName(value.missingMark) + " marks a missing value";
}

void CsvSizeReader::noteLookOf(const CsvCell& cell) {
  ++sizeCount_;
  allLookGrouped_ = allLookGrouped_ && looksGroupedByAPoint(cell.text);
}

std::optional<std::string> CsvSizeReader::groupingPointsDoubt() const {
  if (layout_.decimalComma || !allLookGrouped_ ||
      sizeCount_ < kGroupedLookingSizes) {
    return std::nullopt;
  }
  return "all " + std::to_string(sizeCount_) +
         " sizes have three digits after a point, as if the points grouped "
         "thousands (\"1.361\" for 1361); if they do, read the file with "
         "--decimal-comma and its --separator (\";\" in most such exports)";
}

std::optional<float> CsvSizeReader::sizeOf(const CsvCell& cell) const {
  if (cell.tooLong) return std::nullopt;
  DecimalNotation notation;
  notation.decimalMark = layout_.decimalComma ? ',' : '.';
  // Only a quoted cell can hold the separator's commas as groups.
  notation.thousandsGroups =
      cell.quoted && layout_.separator == ',' && !layout_.decimalComma;
  std::optional<std::string> number;
  if (layout_.decimalComma) {
    if (const std::optional<std::string> whole =
            withoutGroupingPoints(cell.text)) {
      number = plainDecimal(*whole, notation);
    }
  } else {
    number = plainDecimal(cell.text, notation);
  }
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
  if (!cell.tooLong && (cell.text.empty() || isMissingMark(cell.text))) {
    return CsvSize{0.0f, cell.line, true, cell.text};
  }
  const std::optional<float> size = sizeOf(cell);
  if (!size) {
    fail(cell.line, columnLabel() + ": " + shownCell(cell) +
                        " is not a plain decimal number");
    return std::nullopt;
  }
  noteLookOf(cell);
  return CsvSize{*size, cell.line, false, {}};
}

}  // namespace talvik
