#include "session/console/level_text.h"

#include <algorithm>
#include <charconv>
#include <system_error>

#include "analysis/number_characters.h"

namespace talvik {
namespace {

constexpr int kLowestLevel = 1;
constexpr int kHighestLevel = 99;

}  // namespace

std::optional<int> levelFromText(std::string_view text) {
  if (text.empty() || !std::all_of(text.begin(), text.end(), isDigit)) {
    return std::nullopt;
  }
  int level = 0;
  const std::from_chars_result read =
      std::from_chars(text.data(), text.data() + text.size(), level);
  if (read.ec != std::errc() || level < kLowestLevel || level > kHighestLevel) {
    return std::nullopt;
  }
  return level;
}

}  // namespace talvik
