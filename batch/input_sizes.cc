#include "batch/input_sizes.h"

#include <utility>

#include "analysis/size_file.h"
#include "analysis/largest_sizes.h"
#include "batch/size_doubts.h"
#include "session/console/fault.h"
#include "session/console/input_file.h"

namespace talvik {
namespace {

constexpr char kTooManySizes[] =
    "more than 1000 sizes (--largest analyses the largest 1000)";

// A doubtful line is a warning, or with --strict an error.
void addDoubt(InputSizes& input, std::int64_t line, SizeFileDoubt::Kind kind,
              bool strict) {
  FileMessage message{line, doubtMessage(kind)};
  (strict ? input.errors : input.warnings).push_back(std::move(message));
}

InputSizes readPlainSizes(ByteSource& file, const SizeReadingRules& rules) {
  InputSizes input;
  SizeFileReading reading;
  LargestSizes largest(kMaxSettlements);
  if (rules.largest) {
    reading = readEverySettlementSize(
        file, [&largest](float size) { largest.add(size); });
  } else {
    reading = readSettlementSizes(file);
  }
  for (const SizeFileDoubt& doubt : reading.doubts) {
    addDoubt(input, doubt.line, doubt.kind, rules.strict);
  }
  switch (reading.ending) {
    case SizeFileReading::Ending::kReadError:
      input.errors.push_back(
          {reading.endingLine,
           "no number the size-file rules can read (a sign, digits, a point "
           "and an exponent)"});
      return input;
    case SizeFileReading::Ending::kTooManySizes:
      input.errors.push_back({reading.endingLine, kTooManySizes});
      return input;
    case SizeFileReading::Ending::kSizesRead:
      break;
  }
  input.observed =
      rules.largest ? largest.ordered() : orderLargestFirst(reading.sizes);
  return input;
}

InputSizes readCsvSizes(ByteSource& file, const SizeReadingRules& rules) {
  InputSizes input;
  CsvSizeReader reader(file, *rules.csv);
  // Without --largest a 1001st size is enough to refuse the file.
  LargestSizes sizes(rules.largest ? kMaxSettlements : kMaxSettlements + 1);
  while (const std::optional<CsvSize> size = reader.next()) {
    if (!(size->size > 0.0f)) {
      addDoubt(input, size->line, SizeFileDoubt::Kind::kNotPositive,
               rules.strict);
    }
    sizes.add(size->size);
    if (!rules.largest && sizes.count() > kMaxSettlements) {
      input.errors.push_back({size->line, kTooManySizes});
      return input;
    }
  }
  if (const std::optional<CsvProblem>& problem = reader.problem()) {
    input.errors.push_back({problem->line, problem->reason});
    return input;
  }
  input.observed = sizes.ordered();
  return input;
}

}  // namespace

InputSizes readInputSizes(ByteSource& file, const SizeReadingRules& rules) {
  InputSizes input =
      rules.csv ? readCsvSizes(file, rules) : readPlainSizes(file, rules);
  if (input.errors.empty() && input.observed.empty()) {
    input.errors.push_back({0, "no sizes in the file"});
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
    input.errors.push_back({0, "cannot open the file: " + fault.cause});
    return input;
  }
}

}  // namespace talvik
