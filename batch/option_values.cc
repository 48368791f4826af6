#include "batch/option_values.h"

#include <charconv>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <system_error>

#include "analysis/resample_generator.h"

namespace talvik {
namespace {

// Above 2^53 consecutive whole numbers are no longer all doubles, so a range
// could not step through them one by one.
constexpr std::uint64_t kLargestRangeEnd = std::uint64_t{1} << 53;

bool isDigit(char c) { return c >= '0' && c <= '9'; }

std::size_t digitsFrom(std::string_view text, std::size_t position) {
  std::size_t end = position;
  while (end < text.size() && isDigit(text[end])) ++end;
  return end - position;
}

// A plain decimal number: an optional sign, digits with at most one point
// and at least one digit, then an optional exponent "e" or "E", an optional
// sign and digits. Blanks, "inf", "nan" and hexadecimal forms are not.
bool isPlainDecimal(std::string_view text) {
  std::size_t position = 0;
  if (!text.empty() && (text[0] == '+' || text[0] == '-')) ++position;
  std::size_t mantissaDigits = digitsFrom(text, position);
  position += mantissaDigits;
  if (position < text.size() && text[position] == '.') {
    const std::size_t fraction = digitsFrom(text, position + 1);
    mantissaDigits += fraction;
    position += 1 + fraction;
  }
  if (mantissaDigits == 0) return false;
  if (position < text.size() &&
      (text[position] == 'e' || text[position] == 'E')) {
    ++position;
    if (position < text.size() &&
        (text[position] == '+' || text[position] == '-')) {
      ++position;
    }
    const std::size_t exponent = digitsFrom(text, position);
    if (exponent == 0) return false;
    position += exponent;
  }
  return position == text.size();
}

// A whole number from 0 to kLargestRangeEnd, or nothing.
std::optional<std::uint64_t> rangeEnd(std::string_view text) {
  if (text.empty() || digitsFrom(text, 0) != text.size()) return std::nullopt;
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

}  // namespace

SeedValue parseSeedValue(std::string_view text) {
  const std::size_t dots = text.find("..");
  if (dots != std::string_view::npos) return seedRange(text, dots);
  if (!isPlainDecimal(text)) {
    return refusedSeed(named("seed", text) +
                       " is not a number (a seed is a number such as "
                       "1234567, or a range such as 1..1000)");
  }
  // strtod rounds correctly, and beyond the double range gives an infinity,
  // which the generator refuses like the dialogue does.
  const std::string digits(text);
  const double seed = std::strtod(digits.c_str(), nullptr);
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
  int level = 0;
  const std::from_chars_result read =
      std::from_chars(text.data(), text.data() + text.size(), level);
  const bool whole = !text.empty() && digitsFrom(text, 0) == text.size() &&
                     read.ec == std::errc();
  if (!whole || level < 1 || level > 99) {
    return {0, named("level", text) + " is not a whole number from 1 to 99"};
  }
  return {level, {}};
}

std::string seedText(double seed) {
  char text[32];
  const std::to_chars_result printed =
      std::to_chars(text, text + sizeof text, seed);
  return std::string(text, printed.ptr);
}

}  // namespace talvik
