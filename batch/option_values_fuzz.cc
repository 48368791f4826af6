// Fuzzes the --seed, --level and --resamples values against a reference
// written from the same rules with regular expressions, strtod, strtoull and
// atol.

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <regex>
#include <string>

#include "analysis/resample_generator.h"
#include "batch/option_values.h"

namespace talvik {
namespace {

void check(bool holds, const char* what) {
  if (holds) return;
  std::fprintf(stderr, "option_values_fuzz: %s\n", what);
  std::abort();
}

void checkSeeds(const std::string& text) {
  const SeedValue value = parseSeedValue(text);
  check(value.error.empty() != value.seeds.empty(),
        "seeds and an error together, or neither");
  check(value.seeds.size() <= kMaxSeeds, "more than 100000 seeds");
  for (const double seed : value.seeds) {
    check(isUsableSeed(seed), "a seed the generator cannot use");
    check(std::strtod(seedText(seed).c_str(), nullptr) == seed,
          "seedText does not read back as the seed");
    if (seed < 1e21 && std::floor(seed) == seed) {
      check(
          seedText(seed).find_first_not_of("-0123456789") == std::string::npos,
          "a whole seed is not printed as a whole number");
    }
  }
  static const std::regex range("([0-9]+)\\.\\.([0-9]+)");
  static const std::regex decimal(
      "[+-]?([0-9]+(\\.[0-9]*)?|\\.[0-9]+)([eE][+-]?[0-9]+)?");
  std::smatch ends;
  if (std::regex_match(text, ends, range)) {
    const std::string firstText = ends[1];
    const std::string lastText = ends[2];
    // Beyond 64 bits strtoull gives its largest value, beyond 2^53 too.
    const std::uint64_t first = std::strtoull(firstText.c_str(), nullptr, 10);
    const std::uint64_t last = std::strtoull(lastText.c_str(), nullptr, 10);
    const bool good = first <= last && last <= (std::uint64_t{1} << 53) &&
                      last - first < kMaxSeeds;
    check(good == value.error.empty(), "a range judged wrongly");
    if (!good) return;
    check(value.seeds.size() == last - first + 1, "a range's count is wrong");
    for (std::size_t i = 0; i < value.seeds.size(); ++i) {
      check(value.seeds[i] == static_cast<double>(first + i),
            "a range's seeds are not consecutive");
    }
    return;
  }
  if (text.find("..") != std::string::npos) {
    check(!value.error.empty(), "a malformed range accepted");
    return;
  }
  const bool number = std::regex_match(text, decimal);
  const double seed = number ? std::strtod(text.c_str(), nullptr) : 0.0;
  const bool good = number && isUsableSeed(seed);
  check(good == value.error.empty(), "a seed judged wrongly");
  if (good) {
    check(value.seeds.size() == 1 && (value.seeds[0] == seed),
          "a seed read as another value");
  }
}

void checkLevel(const std::string& text) {
  const LevelValue value = parseLevelValue(text);
  static const std::regex digits("[0-9]+");
  const bool whole = std::regex_match(text, digits);
  const std::size_t significant = text.find_first_not_of('0');
  const bool small = whole && significant != std::string::npos &&
                     text.size() - significant <= 2;
  const int level = small ? std::atoi(text.c_str()) : 0;
  const bool good = small && level >= 1 && level <= 99;
  check(good == value.error.empty(), "a level judged wrongly");
  check(!good || value.level == level, "a level read as another value");
}

void checkResamples(const std::string& text) {
  const ResamplesValue value = parseResamplesValue(text);
  static const std::regex digits("[0-9]+");
  const bool whole = std::regex_match(text, digits);
  const std::size_t significant = text.find_first_not_of('0');
  const bool small = whole && significant != std::string::npos &&
                     text.size() - significant <= 6;
  const long count = small ? std::atol(text.c_str()) : 0;
  const bool good =
      small && count >= 1000 && count <= 100000 && count % 1000 == 0;
  check(good == value.error.empty(), "a resample count judged wrongly");
  check(!good || value.resamples == count,
        "a resample count read as another value");
}

}  // namespace
}  // namespace talvik

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data,
                                      std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  talvik::checkSeeds(text);
  talvik::checkLevel(text);
  talvik::checkResamples(text);
  return 0;
}
