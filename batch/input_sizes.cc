#include "batch/input_sizes.h"

#include <cstddef>
#include <limits>
#include <utility>
#include <vector>

#include "analysis/largest_sizes.h"
#include "analysis/size_file.h"
#include "batch/size_doubts.h"
#include "session/console/fault.h"
#include "session/console/input_file.h"

namespace talvik {
namespace {

constexpr char kTooManySizes[] =
    "more than 1000 sizes (--largest analyses the largest 1000)";

// A doubtful line is a warning, or with --strict an error. Only a file's first
// kKeptFileMessages of each are kept, their text made only then; the rest
// are counted.
template <typename MakeText>
void addDoubt(InputSizes& input, std::int64_t line, bool strict,
              MakeText makeText) {
  std::vector<FileMessage>& kept = strict ? input.errors : input.warnings;
  if (kept.size() < kKeptFileMessages) {
    kept.push_back({line, makeText()});
  } else {
    ++(strict ? input.unkeptErrors : input.unkeptWarnings);
  }
}

// An error is kept, or counted, as a doubt under --strict is.
void addError(InputSizes& input, std::int64_t line, std::string text) {
  addDoubt(input, line, true, [&text] { return std::move(text); });
}

void addDoubt(InputSizes& input, std::int64_t line, SizeFileDoubt::Kind kind,
              bool strict) {
  addDoubt(input, line, strict, [kind] { return doubtMessage(kind); });
}

// Digits beyond the float range are read as infinity, as a word would be.
void checkRange(InputSizes& input, float size, std::int64_t line, bool strict) {
  if (size == std::numeric_limits<float>::infinity()) {
    addDoubt(input, line, strict, beyondSinglePrecisionMessage);
  }
}

InputSizes readPlainSizes(ByteSource& file, const SizeReadingRules& rules) {
  InputSizes input;
  LargestSizes largest(kMaxSettlements);  // with --largest
  std::vector<float> sizes;               // without it, in file order
  std::int64_t tooManyLine = 0;
  const SizeFileReading reading = readEverySettlementSize(
      file,
      [&](const SizeFileValue& value) {
        if (!value.word)
          checkRange(input, value.size, value.line, rules.strict);
        if (rules.largest) {
          largest.add(value.size);
          return true;
        }
        // A 1001st size only shows that there are too many.
        if (sizes.size() == static_cast<std::size_t>(kMaxSettlements)) {
          tooManyLine = value.line;
          return false;
        }
        sizes.push_back(value.size);
        return true;
      },
      [&](const SizeFileDoubt& doubt) {
        addDoubt(input, doubt.line, doubt.kind, rules.strict);
      });
  if (reading.ending == SizeFileReading::Ending::kReadError) {
    addError(input, reading.endingLine,
             "no number the size-file rules can read (a sign, digits, a point "
             "and an exponent)");
    return input;
  }
  if (tooManyLine > 0) {
    addError(input, tooManyLine, kTooManySizes);
    return input;
  }
  input.observed = rules.largest ? largest.ordered() : orderLargestFirst(sizes);
  return input;
}

InputSizes readCsvSizes(ByteSource& file, const SizeReadingRules& rules) {
  InputSizes input;
  CsvSizeReader reader(file, *rules.csv);
  // Without --largest a 1001st size is enough to refuse the file.
  LargestSizes sizes(rules.largest ? kMaxSettlements : kMaxSettlements + 1);
  while (const std::optional<CsvSize> size = reader.next()) {
    if (size->missing) {
      addDoubt(input, size->line, rules.strict,
               [&] { return reader.missingValueMessage(*size); });
      continue;
    }
    if (!(size->size > 0.0f)) {
      addDoubt(input, size->line, SizeFileDoubt::Kind::kNotPositive,
               rules.strict);
    }
    checkRange(input, size->size, size->line, rules.strict);
    sizes.add(size->size);
    if (!rules.largest && sizes.count() > kMaxSettlements) {
      addError(input, size->line, kTooManySizes);
      return input;
    }
  }
  if (const std::optional<CsvProblem>& problem = reader.problem()) {
    addError(input, problem->line, problem->reason);
    return input;
  }
  if (std::optional<std::string> doubt = reader.groupingPointsDoubt()) {
    // About the whole file, so first, never among the only counted ones.
    if (input.warnings.size() == kKeptFileMessages) {
      input.warnings.pop_back();
      ++input.unkeptWarnings;
    }
    input.warnings.insert(input.warnings.begin(), {0, std::move(*doubt)});
  }
  input.observed = sizes.ordered();
  return input;
}

}  // namespace

InputSizes readInputSizes(ByteSource& file, const SizeReadingRules& rules) {
  InputSizes input =
      rules.csv ? readCsvSizes(file, rules) : readPlainSizes(file, rules);
  if (input.errors.empty() && input.observed.empty()) {
    addError(input, 0, "no sizes in the file");
  }
  if (!input.errors.empty()) input.observed.clear();
  return input;
}

InputSizes readInputSizes(const std::string& path,
                          const SizeReadingRules& rules) {
  try {
    InputFile file(path);
    return readInputSizes(file, rules);
  } catch (const Fault& fault) {
    InputSizes input;
    addError(input, 0, "cannot open the file: " + fault.cause);
    return input;
  }
}

}  // namespace talvik
