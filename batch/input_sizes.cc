#include "batch/input_sizes.h"

#include <cstddef>
#include <limits>
#include <optional>
#include <string>
#include <utility>

#include "analysis/size_file.h"
#include "batch/file_start.h"
#include "batch/size_collection.h"
#include "session/console/fault.h"
#include "session/console/input_file.h"
#include "session/console/shown_text.h"

namespace talvik {
namespace {

// Enough of a first line to recognise it in a message.
constexpr std::size_t kShownLineBytes = 40;

// Digits beyond the float range are read as infinity, as a word would be.
void checkRange(SizeCollection& sizes, float size, std::int64_t line) {
  if (size == std::numeric_limits<float>::infinity()) {
    sizes.doubt({line, std::nullopt});
  }
}

// Why the size-file rules could not read a value: the generic reason, unless
// the file's start tells what it is.
FileMessage readError(const FileStart& start, std::int64_t line) {
  if (const std::optional<char> separator = start.headerSeparator()) {
    std::string text = "the first line looks like the header of a CSV file (\"";
    text += shownText(start.firstLine(), kShownLineBytes);
    text += "\"): name the column of sizes with --column NAME";
    if (*separator == ';') text += " and --separator ';'";
    if (*separator == '\t') text += " and --separator '\\t'";
    return {1, text};
  }
  if (start.byteOrderMark()) {
    return {1,
            "the file starts with a UTF-8 byte-order mark (the bytes EF BB "
            "BF), which the size-file rules cannot read: save it without one "
            "(as plain text, not \"UTF-8 with BOM\")"};
  }
  return {line,
          "no number the size-file rules can read (a sign, digits, a point "
          "and an exponent)"};
}

InputSizes readPlainSizes(ByteSource& file, const SizeReadingRules& rules) {
  FileStart start(file);
  SizeCollection sizes(rules);
  const SizeFileReading reading = readEverySettlementSize(
      start,
      [&](const SizeFileValue& value) {
        if (!value.word) checkRange(sizes, value.size, value.line);
        return sizes.add(value.size, value.line);
      },
      [&](const SizeFileDoubt& doubt) {
        sizes.doubt({doubt.line, doubt.kind});
      });
  if (reading.ending != SizeFileReading::Ending::kReadError) {
    return sizes.finish();
  }
  FileMessage error = readError(start, reading.endingLine);
  sizes.error(error.line, std::move(error.text));
  InputSizes input = sizes.finish();
  // The header explains the words its lines were read as.
  if (start.headerSeparator()) {
    input.warnings.clear();
    input.unkeptWarnings = 0;
  }
  return input;
}

InputSizes readCsvSizes(ByteSource& file, const SizeReadingRules& rules) {
  SizeCollection sizes(rules);
  CsvSizeReader reader(file, *rules.csv);
  while (const std::optional<CsvSize> size = reader.next()) {
    if (size->missing) {
      sizes.missing(size->line, reader.missingValueMessage(*size));
      continue;
    }
    if (!(size->size > 0.0f)) {
      sizes.doubt({size->line, SizeFileDoubt::Kind::kNotPositive});
    }
    checkRange(sizes, size->size, size->line);
    // Without --largest a 1001st size refuses the file.
    if (!sizes.add(size->size, size->line)) return sizes.finish();
  }
  if (const std::optional<CsvProblem>& problem = reader.problem()) {
    sizes.error(problem->line, problem->reason);
  }
  if (std::optional<std::string> doubt = reader.groupingPointsDoubt()) {
    sizes.fileWarning(std::move(*doubt));
  }
  return sizes.finish();
}

}  // namespace

InputSizes readInputSizes(ByteSource& file, const SizeReadingRules& rules) {
  return rules.csv ? readCsvSizes(file, rules) : readPlainSizes(file, rules);
}

InputSizes readInputSizes(const std::string& path,
                          const SizeReadingRules& rules) {
  try {
    InputFile file(path);
    return readInputSizes(file, rules);
  } catch (const Fault& fault) {
    SizeCollection failed(rules);
    failed.error(0, "cannot open the file: " + fault.cause);
    return failed.finish();
  }
}

}  // namespace talvik
