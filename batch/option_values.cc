#include "batch/option_values.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <system_error>

#include "analysis/bootstrap.h"
#include "analysis/number_characters.h"
#include "analysis/plain_decimal.h"
#include "analysis/resample_generator.h"
#include "session/console/level_text.h"

namespace talvik {
namespace {

// Above 2^53 consecutive whole numbers are no longer all doubles, so a range
// could not step through them one by one.
constexpr std::uint64_t kLargestRangeEnd = std::uint64_t{1} << 53;

// Whole seeds below this print as whole numbers, as JavaScript prints them;
// from it up the digits of a whole number would be mostly zeros or digits
// nobody typed, and the shortest form ("1e+21") stays readable and short
// enough for a file name.
constexpr double kLargestWholeSeedText = 1e21;

// A whole number from 0 to kLargestRangeEnd, or nothing.
std::optional<std::uint64_t> rangeEnd(std::string_view text) {
  if (text.empty() || !std::all_of(text.begin(), text.end(), isDigit)) {
    return std::nullopt;
  }
  std::uint64_t value = 0;
  const std::from_chars_result read =
      std::from_chars(text.data(), text.data() + text.size(), value);
  if (read.ec != std::errc() || value > kLargestRangeEnd) return std::nullopt;
  return value;
}

// What a message is about: "seed \"12a\"".
std::string named(std::string_view what, std::string_view text) {
  std::string name(what);
  name += " \"";
  name += text;
  name += '"';
  return name;
}

SeedValue refusedSeed(std::string error) { return {{}, std::move(error)}; }

SeedValue seedRange(std::string_view text, std::size_t dots) {
  const std::optional<std::uint64_t> first = rangeEnd(text.substr(0, dots));
  const std::optional<std::uint64_t> last = rangeEnd(text.substr(dots + 2));
  if (!first || !last) {
    return refusedSeed(named("seed range", text) +
                       ": both ends must be whole numbers from 0 to "
                       "9007199254740992");
  }
  if (*first > *last) {
    return refusedSeed(named("seed range", text) +
                       ": the first seed is larger than the last");
  }
  if (*last - *first >= kMaxSeeds) {
    return refusedSeed(named("seed range", text) +
                       " holds more than 100000 seeds");
  }
  SeedValue value;
  value.seeds.reserve(*last - *first + 1);
  for (std::uint64_t seed = *first; seed <= *last; ++seed) {
    value.seeds.push_back(static_cast<double>(seed));
  }
  return value;
}

// The separator a --separator value names: one character, or "\t" for a tab.
// Quotes, line ends and blanks already mean something in a CSV cell, and a
// character that a number or a column name holds (a letter, a digit, a
// point, a sign) would split them.
std::optional<char> separatorNamed(std::string_view text) {
  if (text == "\\t") return '\t';
  if (text.size() != 1) return std::nullopt;
  const char c = text[0];
  if (isDigit(c) || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z')) {
    return std::nullopt;
  }
  constexpr std::string_view kRefused = ".+-\"'\r\n \v\f";
  if (kRefused.find(c) != std::string_view::npos) return std::nullopt;
  return c;
}

}  // namespace

CsvOptions readCsvLayout(const std::string& column, bool header,
                         const std::optional<std::string>& separator,
                         bool decimalComma) {
  CsvLayout csv;
  csv.decimalComma = decimalComma;
  csv.header = header;
  if (std::all_of(column.begin(), column.end(), isDigit)) {
    int number = 0;
    std::from_chars(column.data(), column.data() + column.size(), number);
    if (column.size() > 6 || number < 1) {
      return {{},
              "--column \"" + column +
                  "\": columns are numbered from 1 (up to 999999)"};
    }
    csv.columnNumber = number;
  } else {
    csv.columnName = column;
    csv.header = true;
  }
  if (separator) {
    const std::optional<char> named = separatorNamed(*separator);
    if (!named) {
      return {{},
              "--separator \"" + *separator +
                  "\": one character other than a letter, a digit, a point, "
                  "a sign, a quote or a blank, or \\t"};
    }
    csv.separator = *named;
  }
  if (decimalComma && csv.separator == ',') {
    return {{},
            "--decimal-comma needs another separator, such as --separator "
            "\";\""};
  }
  return {csv, {}};
}

SeedValue parseSeedValue(std::string_view text) {
  const std::size_t dots = text.find("..");
  if (dots != std::string_view::npos) return seedRange(text, dots);
  const std::optional<std::string> number = plainDecimal(text);
  if (!number) {
    return refusedSeed(named("seed", text) +
                       " is not a number (a seed is a number such as "
                       "1234567, or a range such as 1..1000)");
  }
  // strtod rounds correctly, and beyond the double range gives an infinity,
  // which the generator refuses like the dialogue does.
  const double seed = std::strtod(number->c_str(), nullptr);
  if (seed < 0.0) {
    return refusedSeed(named("seed", text) +
                       " is negative; the generator takes seeds from 0 up");
  }
  if (!isUsableSeed(seed)) {
    return refusedSeed(named("seed", text) +
                       " is too large for the generator (4101 x seed + 853 "
                       "must stay finite)");
  }
  return {{seed}, {}};
}

LevelValue parseLevelValue(std::string_view text) {
  const std::optional<int> level = levelFromText(text);
  if (!level) {
    return {0, named("level", text) + " is not a whole number from 1 to 99"};
  }
  return {*level, {}};
}

ResamplesValue parseResamplesValue(std::string_view text) {
  int resamples = 0;
  const bool digits =
      !text.empty() && std::all_of(text.begin(), text.end(), isDigit);
  const std::from_chars_result read =
      std::from_chars(text.data(), text.data() + text.size(), resamples);
  if (!digits || read.ec != std::errc() || !isResampleCount(resamples)) {
    return {0, named("resamples", text) +
                   " is not a multiple of 1000 from 1000 to 100000"};
  }
  return {resamples, {}};
}

std::string seedText(double seed) {
  // 22 characters hold any whole seed below kLargestWholeSeedText and the
  // shortest form of any other.
  char text[32];
  const bool whole = seed < kLargestWholeSeedText && std::floor(seed) == seed;
  const std::to_chars_result printed =
      whole ? std::to_chars(text, text + sizeof text, seed,
                            std::chars_format::fixed)
            : std::to_chars(text, text + sizeof text, seed);
  return std::string(text, printed.ptr);
}

}  // namespace talvik
