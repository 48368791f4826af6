#ifndef TALVIK_BATCH_OPTION_VALUES_H_
#define TALVIK_BATCH_OPTION_VALUES_H_

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "batch/csv_sizes.h"

namespace talvik {

// The seed the batch uses when none is given, as a user of the dialogue
// would type it.
inline constexpr double kDefaultSeed = 1234567.0;
// The most seeds one call analyses every file with.
inline constexpr std::size_t kMaxSeeds = 100000;

// The seeds of one --seed value, or why it is refused (`error` not empty).
struct SeedValue {
  std::vector<double> seeds;
  std::string error;
};

// Reads one --seed value: a decimal number ("1234567", "0.5", "2e6") or an
// inclusive range of whole numbers "A..B" holding at most kMaxSeeds seeds.
// Seeds the generator cannot use, which the dialogue refuses, are errors.
SeedValue parseSeedValue(std::string_view text);

// The level of one --level value, or why it is refused.
struct LevelValue {
  int level = 0;  // 1 to 99 when `error` is empty
  std::string error;
};

// Reads one --level value: a whole number from 1 to 99.
LevelValue parseLevelValue(std::string_view text);

// The count of one --resamples value, or why it is refused.
struct ResamplesValue {
  int resamples = 0;  // isResampleCount(resamples) when `error` is empty
  std::string error;
};

// Reads one --resamples value: a whole number of thousands from 1000 to
// 100000, in digits only.
ResamplesValue parseResamplesValue(std::string_view text);

// The CSV layout of --column, --header, --separator and --decimal-comma, or
// why it is refused.
struct CsvOptions {
  std::optional<CsvLayout> layout;  // unset without --column
  std::string error;
};

// The layout of a --column value (a name, or a number from 1), with the
// other CSV options: `separator` one character other than a letter, a digit,
// a point, a sign, a quote or a blank, or "\\t" for a tab.
CsvOptions readCsvLayout(const std::string& column, bool header,
                         const std::optional<std::string>& separator,
                         bool decimalComma);

// The seed as the table shows it and plot file names carry it: a whole seed
// below 10^21 as a whole number ("10000000"), any other in the shortest
// decimal text that reads back as the same seed ("0.5", "1e+21").
std::string seedText(double seed);

}  // namespace talvik

#endif  // TALVIK_BATCH_OPTION_VALUES_H_
