// Fuzzes the CSV size reader against a plain reference reader written from
// the same rules: the whole text split into records and cells first, numbers
// and missing-value marks matched by regular expressions, numbers converted
// by strtof.
//
// Input: three header bytes, then the CSV text. Byte 0 picks the separator
// (bits 0-1: "," ";" tab "|"), the decimal comma (bit 2, not with ","), a
// header row (bit 3) and a column name instead of a number (bit 4); byte 1
// the column (1 to 4, or the name "size", "Area", " SIZE " or "area"); byte 2
// seeds the sizes
// of the chunks the text is handed out in, and its top bit makes the source
// refuse its last read.

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <regex>
#include <string>
#include <string_view>
#include <vector>

#include "analysis/byte_source.h"
#include "batch/csv_sizes.h"

namespace talvik {
namespace {

void check(bool holds, const char* what) {
  if (holds) return;
  std::fprintf(stderr, "csv_sizes_fuzz: %s\n", what);
  std::abort();
}

class ChunkedSource : public ByteSource {
 public:
  ChunkedSource(std::string_view bytes, std::uint32_t seed, bool refuseAtEnd)
      : bytes_(bytes), state_(seed | 1u), refuseAtEnd_(refuseAtEnd) {}

  std::optional<std::size_t> read(char* buffer, std::size_t capacity) override {
    if (bytes_.empty()) {
      if (refuseAtEnd_) return std::nullopt;
      return 0;
    }
    state_ ^= state_ << 13;
    state_ ^= state_ >> 17;
    state_ ^= state_ << 5;
    const std::size_t chunk = 1 + state_ % 9;
    const std::size_t count = std::min({chunk, capacity, bytes_.size()});
    std::memcpy(buffer, bytes_.data(), count);
    bytes_.remove_prefix(count);
    return count;
  }

 private:
  std::string_view bytes_;
  std::uint32_t state_;
  bool refuseAtEnd_;
};

struct Outcome {
  std::vector<CsvSize> sizes;  // missing values among them
  std::optional<std::int64_t> problemLine;
  bool looksGrouped = false;  // when there is no problem
};

bool sameOutcome(const Outcome& a, const Outcome& b) {
  if (a.sizes.size() != b.sizes.size() || a.problemLine != b.problemLine ||
      a.looksGrouped != b.looksGrouped) {
    return false;
  }
  for (std::size_t i = 0; i < a.sizes.size(); ++i) {
    if (a.sizes[i].line != b.sizes[i].line ||
        a.sizes[i].missing != b.sizes[i].missing ||
        a.sizes[i].missingMark != b.sizes[i].missingMark ||
        std::memcmp(&a.sizes[i].size, &b.sizes[i].size, sizeof(float)) != 0) {
      return false;
    }
  }
  return true;
}

Outcome readWithReader(std::string_view text, const CsvLayout& layout,
                       std::uint32_t seed, bool refuseAtEnd) {
  ChunkedSource source(text, seed, refuseAtEnd);
  CsvSizeReader reader(source, layout);
  Outcome outcome;
  while (const std::optional<CsvSize> size = reader.next()) {
    outcome.sizes.push_back(*size);
  }
  if (reader.problem()) {
    outcome.problemLine = reader.problem()->line;
  } else {
    outcome.looksGrouped = reader.groupingPointsDoubt().has_value();
  }
  return outcome;
}

// ---- The reference: records first, then the column.

struct RefCell {
  std::string text;  // blanks around it removed
  bool quoted = false;
  std::int64_t line = 0;
};

struct RefRecord {
  std::int64_t line = 0;
  std::vector<RefCell> cells;
};

std::string trimmed(const std::string& text) {
  const std::size_t first = text.find_first_not_of(" \t");
  if (first == std::string::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// Splits the text into records, or gives the line of a malformed cell.
std::optional<std::int64_t> splitRecords(std::string_view text, char separator,
                                         std::vector<RefRecord>& records) {
  std::int64_t line = 1;
  std::size_t i = 0;
  const auto lineEndAt = [&](std::size_t at) {
    return at < text.size() &&
           (text[at] == '\n' ||
            (text[at] == '\r' && at + 1 < text.size() && text[at + 1] == '\n'));
  };
  const auto skipLineEnd = [&] {
    if (text[i] == '\r') ++i;
    ++i;
    ++line;
  };
  while (i < text.size()) {
    RefRecord record{line, {}};
    for (;;) {
      RefCell cell{{}, false, line};
      std::string raw;
      while (i < text.size() && text[i] != separator && !lineEndAt(i)) {
        if (text[i] == '"') {
          if (!trimmed(raw).empty()) return cell.line;
          cell.quoted = true;
          ++i;
          std::string inside;
          for (;;) {
            if (i >= text.size()) return cell.line;
            if (text[i] == '"') {
              if (i + 1 < text.size() && text[i + 1] == '"') {
                inside += '"';
                i += 2;
                continue;
              }
              ++i;
              break;
            }
            if (text[i] == '\n') ++line;
            inside += text[i++];
          }
          while (i < text.size() && (text[i] == ' ' || text[i] == '\t') &&
                 text[i] != separator) {
            ++i;
          }
          if (i < text.size() && text[i] != separator && !lineEndAt(i)) {
            return cell.line;
          }
          raw = inside;
          break;
        }
        raw += text[i++];
      }
      cell.text = trimmed(raw);
      record.cells.push_back(cell);
      if (i < text.size() && text[i] == separator) {
        ++i;
        continue;
      }
      if (i < text.size()) skipLineEnd();
      break;
    }
    records.push_back(record);
  }
  return std::nullopt;
}

std::string lowerCase(std::string text) {
  for (char& c : text) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return text;
}

bool isBlank(const RefRecord& record) {
  return std::all_of(record.cells.begin(), record.cells.end(),
                     [](const RefCell& cell) { return cell.text.empty(); });
}

struct NumberForms {
  explicit NumberForms(const CsvLayout& layout)
      : plain(layout.decimalComma
                  ? "[+-]?([0-9]+(,[0-9]*)?|,[0-9]+)([eE][+-]?[0-9]+)?"
                  : "[+-]?([0-9]+(\\.[0-9]*)?|\\.[0-9]+)([eE][+-]?[0-9]+)?"),
        grouped(
            layout.decimalComma
                ? "[+-]?[0-9]{1,3}(\\.[0-9]{3})+(,[0-9]*)?([eE][+-]?[0-9]+)?"
                : "[+-]?[0-9]{1,3}(,[0-9]{3})+(\\.[0-9]*)?([eE][+-]?[0-9]+)?"),
        missing("|na|n/a|#n/a|-|\\.\\.", std::regex::icase),
        pointGrouped("[+-]?[1-9][0-9]{0,2}\\.[0-9]{3}") {}
  std::regex plain;
  std::regex grouped;
  std::regex missing;
  std::regex pointGrouped;  // a size that looks grouped without the comma
};

std::optional<float> refSize(const RefCell& cell, const CsvLayout& layout,
                             const NumberForms& forms) {
  const std::regex& plain = forms.plain;
  const std::regex& grouped = forms.grouped;
  std::string number = cell.text;
  if (std::regex_match(number, plain)) {
    if (layout.decimalComma)
      std::replace(number.begin(), number.end(), ',', '.');
  } else if (layout.decimalComma && std::regex_match(number, grouped)) {
    number.erase(std::remove(number.begin(), number.end(), '.'), number.end());
    std::replace(number.begin(), number.end(), ',', '.');
  } else if (cell.quoted && layout.separator == ',' && !layout.decimalComma &&
             std::regex_match(number, grouped)) {
    number.erase(std::remove(number.begin(), number.end(), ','), number.end());
  } else {
    return std::nullopt;
  }
  return std::strtof(number.c_str(), nullptr);
}

Outcome readWithReference(std::string_view text, const CsvLayout& layout) {
  Outcome outcome;
  if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
  std::vector<RefRecord> records;
  const std::optional<std::int64_t> malformed =
      splitRecords(text, layout.separator, records);
  const std::int64_t endLine = 1 + std::count(text.begin(), text.end(), '\n');
  std::size_t next = 0;
  // The records up to a malformed cell are read as usual; the problem comes
  // when the reading reaches it.
  const auto problemAt = [&](std::int64_t line) {
    outcome.problemLine = line;
    return outcome;
  };
  const auto nextNonBlank = [&]() -> const RefRecord* {
    while (next < records.size() && isBlank(records[next])) ++next;
    return next < records.size() ? &records[next++] : nullptr;
  };
  const NumberForms forms(layout);
  std::size_t column = static_cast<std::size_t>(layout.columnNumber);
  std::size_t firstRowCells = 0;
  if (layout.header) {
    const RefRecord* header = nextNonBlank();
    if (!header) {
      if (malformed) return problemAt(*malformed);
      if (!layout.columnName.empty()) return problemAt(endLine);
      return outcome;
    }
    firstRowCells = header->cells.size();
    if (!layout.columnName.empty()) {
      std::vector<std::size_t> exact;
      std::vector<std::size_t> loose;
      const std::string looseName = lowerCase(trimmed(layout.columnName));
      for (std::size_t c = 0; c < header->cells.size(); ++c) {
        const std::string& text = header->cells[c].text;
        if (text == layout.columnName) exact.push_back(c + 1);
        if (lowerCase(text) == looseName) loose.push_back(c + 1);
      }
      const std::vector<std::size_t>& named = exact.empty() ? loose : exact;
      if (named.size() != 1) return problemAt(header->line);
      column = named.front();
    }
  }
  bool allLookGrouped = true;
  std::size_t sizeCount = 0;
  for (;;) {
    const RefRecord* record = nextNonBlank();
    if (!record) {
      if (malformed) return problemAt(*malformed);
      outcome.looksGrouped =
          !layout.decimalComma && allLookGrouped && sizeCount >= 5;
      return outcome;
    }
    if (firstRowCells == 0) firstRowCells = record->cells.size();
    if (record->cells.size() > firstRowCells) return problemAt(record->line);
    if (record->cells.size() < column) return problemAt(record->line);
    const RefCell& cell = record->cells[column - 1];
    if (std::regex_match(cell.text, forms.missing)) {
      outcome.sizes.push_back({0.0f, cell.line, true, cell.text});
      continue;
    }
    const std::optional<float> size = refSize(cell, layout, forms);
    if (!size) return problemAt(cell.line);
    ++sizeCount;
    allLookGrouped =
        allLookGrouped && std::regex_match(cell.text, forms.pointGrouped);
    outcome.sizes.push_back({*size, cell.line, false, {}});
  }
}

}  // namespace
}  // namespace talvik

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data,
                                      std::size_t size) {
  using talvik::CsvLayout;
  if (size < 3) return 0;
  constexpr char kSeparators[] = {',', ';', '\t', '|'};
  CsvLayout layout;
  layout.separator = kSeparators[data[0] & 3];
  layout.decimalComma = (data[0] & 4) != 0 && layout.separator != ',';
  layout.header = (data[0] & 8) != 0;
  if ((data[0] & 16) != 0) {
    constexpr const char* kNames[] = {"size", "Area", " SIZE ", "area"};
    layout.columnName = kNames[data[1] & 3];
    layout.header = true;
  } else {
    layout.columnNumber = 1 + data[1] % 4;
  }
  const std::uint32_t seed = data[2] & 0x7f;
  const bool refuseAtEnd = (data[2] & 0x80) != 0;
  const std::string_view text(reinterpret_cast<const char*>(data) + 3,
                              size - 3);

  const talvik::Outcome read =
      talvik::readWithReader(text, layout, seed, refuseAtEnd);
  if (refuseAtEnd) {
    talvik::check(read.problemLine.has_value(),
                  "a refused read went unnoticed");
    return 0;
  }
  talvik::check(talvik::sameOutcome(read, talvik::readWithReader(
                                              text, layout, seed + 1, false)),
                "the reading depends on how the text is chunked");
  talvik::check(
      talvik::sameOutcome(read, talvik::readWithReference(text, layout)),
      "the reader and the reference disagree");
  return 0;
}
