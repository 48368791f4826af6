#include "plot/chart_labels.h"

#include <algorithm>

namespace talvik {
namespace {

constexpr std::string_view kEllipsis = "\xE2\x80\xA6";

bool continuesCharacter(char byte) {
  return (static_cast<unsigned char>(byte) & 0xC0) == 0x80;
}

// The byte offset where the character at `index` starts, or the text's size.
std::size_t offsetOfCharacter(std::string_view text, std::size_t index) {
  std::size_t seen = 0;
  for (std::size_t at = 0; at < text.size(); ++at) {
    if (continuesCharacter(text[at])) continue;
    if (seen == index) return at;
    ++seen;
  }
  return text.size();
}

// Whether two different labels read alike when shortened to `characters`.
bool anyAlike(const std::vector<std::string>& labels, std::size_t characters) {
  std::vector<std::pair<std::string, std::string_view>> shown;
  for (const std::string& label : labels) {
    shown.emplace_back(middleShortened(label, characters), label);
  }
  std::sort(shown.begin(), shown.end());
  for (std::size_t i = 1; i < shown.size(); ++i) {
    if (shown[i].first == shown[i - 1].first &&
        shown[i].second != shown[i - 1].second) {
      return true;
    }
  }
  return false;
}

}  // namespace

std::size_t characterCount(std::string_view text) {
  return static_cast<std::size_t>(
      std::count_if(text.begin(), text.end(),
                    [](char byte) { return !continuesCharacter(byte); }));
}

std::string middleShortened(std::string_view text, std::size_t characters) {
  const std::size_t count = characterCount(text);
  if (count <= characters) return std::string(text);
  const std::size_t kept = characters - 1;
  const std::size_t head = kept / 2;
  const std::size_t tail = kept - head;
  return std::string(text.substr(0, offsetOfCharacter(text, head))) +
         std::string(kEllipsis) +
         std::string(text.substr(offsetOfCharacter(text, count - tail)));
}

std::vector<std::string> shownLabels(std::span<const ChartRow> rows) {
  std::vector<std::string> labels;
  std::size_t longest = 0;
  for (const ChartRow& row : rows) {
    labels.push_back(row.label);
    longest = std::max(longest, characterCount(row.label));
  }
  // Uncut, different labels never read alike; the fewest characters that
  // keep them apart lie between, found by halving.
  std::size_t characters = kMaxLabelCharacters;
  if (characters < longest && anyAlike(labels, characters)) {
    std::size_t alike = characters;
    characters = longest;
    while (characters - alike > 1) {
      const std::size_t middle = alike + (characters - alike) / 2;
      (anyAlike(labels, middle) ? alike : characters) = middle;
    }
  }
  for (std::string& label : labels) label = middleShortened(label, characters);
  return labels;
}

std::string notAnalysedNote(std::span<const std::string> names,
                            std::size_t characters) {
  if (names.empty()) return {};
  std::string note = "Not analysed: ";
  std::size_t listed = 0;
  for (const std::string& whole : names) {
    const std::string name = middleShortened(whole, kMaxLabelCharacters);
    const std::string separator = listed == 0 ? "" : ", ";
    const std::size_t rest = names.size() - listed - 1;
    // Room for this name and, if others follow, for " and N more".
    const std::size_t needed =
        characterCount(note) + separator.size() + characterCount(name) +
        (rest > 0 ? 10 + std::to_string(rest).size() : 0);
    if (needed > characters && listed > 0) break;
    note += separator + name;
    ++listed;
  }
  if (listed < names.size()) {
    note += " and " + std::to_string(names.size() - listed) + " more";
  }
  return note;
}

}  // namespace talvik
