#include "plot/plotting_rows.h"

#include <algorithm>
#include <charconv>
#include <optional>
#include <string>
#include <system_error>

#include "analysis/buffered_bytes.h"
#include "analysis/number_characters.h"
#include "analysis/text_source.h"
#include "fast_float/fast_float.h"
#include "plot/plot_error.h"
#include "session/console/shown_text.h"

namespace talvik {
namespace {

constexpr std::size_t kMaxRows = 1000;
constexpr std::size_t kRankWidth = 4;
constexpr std::size_t kSizeWidth = 15;
constexpr std::size_t kDecimals = 4;
constexpr std::size_t kFieldsPerRow = 1 + kSizeColumnCount;
constexpr std::size_t kShownFieldBytes = 40;

// The longest record kept: several times a row's 68 characters, so that a
// row with a few misformed fields is still described field by field.
constexpr std::size_t kMaxRecordBytes = 256;
constexpr char kRefusedRead[] = "the system refused a read";

// The records of a plotting file one at a time, each without its CR LF or LF.
// A record longer than kMaxRecordBytes is only marked too long, and nothing
// after its kept start is read: however long a line, memory stays bounded.
class RecordReader {
 public:
  explicit RecordReader(ByteSource& file) : bytes_(file) {}

  // Reads the next record; false at the end of the file. A last record
  // without a record end still counts.
  bool next() {
    text_.clear();
    tooLong_ = false;
    int c = bytes_.next();
    if (c == BufferedBytes::kEndOfFile) return false;
    // One byte more than the longest record may be its CR.
    for (; c >= 0 && c != '\n'; c = bytes_.next()) {
      if (text_.size() > kMaxRecordBytes) {
        tooLong_ = true;
        return true;
      }
      text_.push_back(static_cast<char>(c));
    }
    failed_ = c == BufferedBytes::kFailure;
    if (c == '\n' && text_.ends_with('\r')) text_.pop_back();
    tooLong_ = text_.size() > kMaxRecordBytes;
    return true;
  }

  // Whether another record follows, without reading it.
  bool more() { return bytes_.peek() != BufferedBytes::kEndOfFile; }

  std::string_view text() const { return text_; }
  bool tooLong() const { return tooLong_; }
  // The system refused a read within the record.
  bool failed() const { return failed_; }

 private:
  BufferedBytes bytes_;
  std::string text_;
  bool tooLong_ = false;
  bool failed_ = false;
};

std::vector<std::string_view> splitFields(std::string_view record) {
  std::vector<std::string_view> fields;
  std::size_t start = 0;
  for (std::size_t comma = record.find(','); comma != std::string_view::npos;
       comma = record.find(',', start)) {
    fields.push_back(record.substr(start, comma - start));
    start = comma + 1;
  }
  fields.push_back(record.substr(start));
  return fields;
}

// The field in quotes as a message shows it; a field of a good file is at
// most 15 bytes, so a longer cut still shows what went wrong.
std::string quoted(std::string_view field) {
  std::string shown = "\"";
  shown += shownText(field, kShownFieldBytes);
  return shown + "\"";
}

// A right-aligned field without its leading blanks; empty when the field is
// blank or has a blank after its first other character.
std::string_view rightAligned(std::string_view field) {
  const std::size_t first = field.find_first_not_of(' ');
  if (first == std::string_view::npos) return {};
  const std::string_view text = field.substr(first);
  return text.find(' ') == std::string_view::npos ? text : std::string_view();
}

// Whole digits as the writer prints them: "0", or no leading zero.
bool isWholeNumberText(std::string_view text) {
  return !text.empty() && std::all_of(text.begin(), text.end(), isDigit) &&
         (text.size() == 1 || text.front() != '0');
}

class RowReader {
 public:
  explicit RowReader(std::string_view fileName) : fileName_(fileName) {}

  [[noreturn]] void refuse(std::size_t line, std::string reason) const {
    throw PlotError{std::string(fileName_), line, std::move(reason),
                    "reading the plotting file"};
  }

  PlottingRow readRow(std::string_view record, std::size_t line,
                      int expectedRank) const {
    if (record.empty()) {
      refuse(line, "empty line where row " + std::to_string(expectedRank) +
                       " should be");
    }
    const std::vector<std::string_view> fields = splitFields(record);
    if (fields.size() != kFieldsPerRow) {
      refuse(line, "expected RANK and 4 sizes separated by commas, found " +
                       std::to_string(fields.size()) + " fields");
    }
    PlottingRow row;
    row.rank = readRank(fields[0], line);
    if (row.rank != expectedRank) {
      refuse(line, "RANK is " + std::to_string(row.rank) + ", expected " +
                       std::to_string(expectedRank));
    }
    for (std::size_t column = 0; column < kSizeColumnCount; ++column) {
      row.sizes[column] =
          readSize(fields[column + 1], kSizeColumnNames[column], line);
    }
    return row;
  }

 private:
  int readRank(std::string_view field, std::size_t line) const {
    const std::string_view text = rightAligned(field);
    if (field.size() != kRankWidth || !isWholeNumberText(text)) {
      refuse(line, "RANK " + quoted(field) +
                       " is not a whole number right-aligned in 4 characters");
    }
    int rank = 0;
    std::from_chars(text.data(), text.data() + text.size(), rank);
    return rank;
  }

  PlottedSize readSize(std::string_view field, std::string_view name,
                       std::size_t line) const {
    const std::string prefix = std::string(name) + " " + quoted(field);
    if (field.size() != kSizeWidth) {
      refuse(line, prefix + " is not 15 characters wide");
    }
    if (field == std::string(kSizeWidth, '*')) {
      return {SizeReading::kOverflow, 0.0};
    }
    std::string_view text = rightAligned(field);
    const bool negative = text.starts_with('-');
    if (negative) text.remove_prefix(1);
    if (text == "NaN") return {SizeReading::kNotANumber, 0.0};
    if (text == "INF") return {SizeReading::kInfinity, 0.0};
    const std::size_t point = text.find('.');
    if (point == std::string_view::npos ||
        !isWholeNumberText(text.substr(0, point)) ||
        text.size() - point - 1 != kDecimals ||
        !std::all_of(text.begin() + point + 1, text.end(), isDigit)) {
      refuse(line, prefix +
                       " is not a size with 4 decimals right-aligned in 15 "
                       "characters");
    }
    if (negative) refuse(line, prefix + " is negative");
    double value = 0.0;
    fast_float::from_chars(text.data(), text.data() + text.size(), value,
                           fast_float::chars_format::fixed);
    return {SizeReading::kNumber, value};
  }

  std::string_view fileName_;
};

}  // namespace

std::vector<PlottingRow> readPlottingRows(ByteSource& file,
                                          std::string_view fileName) {
  const RowReader reader(fileName);
  RecordReader records(file);
  const auto readRecord = [&](std::size_t line) {
    const bool read = records.next();
    if (records.failed()) reader.refuse(line, kRefusedRead);
    return read;
  };
  if (!readRecord(1)) {
    reader.refuse(1, "empty file, expected the header \"" +
                         std::string(kPlottingHeader) + "\"");
  }
  // Editors that save "UTF-8 with BOM" put the mark before the header.
  if (records.text().starts_with("\xEF\xBB\xBF")) {
    reader.refuse(1,
                  "the file starts with a UTF-8 byte-order mark (the bytes EF "
                  "BB BF), which a plotting file does not have: save it "
                  "without one");
  }
  if (records.tooLong() || records.text() != kPlottingHeader) {
    reader.refuse(1,
                  "the header is not \"" + std::string(kPlottingHeader) + "\"");
  }
  if (!readRecord(2)) reader.refuse(2, "no rows after the header");
  std::vector<PlottingRow> rows;
  for (std::size_t rank = 1;; ++rank) {
    const std::size_t line = rank + 1;
    if (records.tooLong()) {
      reader.refuse(line, "a line of more than " +
                              std::to_string(kMaxRecordBytes) +
                              " characters where row " + std::to_string(rank) +
                              " should be");
    }
    rows.push_back(
        reader.readRow(records.text(), line, static_cast<int>(rank)));
    if (!records.more()) break;
    if (rank == kMaxRows) reader.refuse(line + 1, "more than 1000 rows");
    readRecord(line + 1);
  }
  return rows;
}

std::vector<PlottingRow> readPlottingRows(std::string_view text,
                                          std::string_view fileName) {
  TextSource source(text);
  return readPlottingRows(source, fileName);
}

}  // namespace talvik
