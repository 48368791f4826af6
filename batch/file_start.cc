#include "batch/file_start.h"

namespace talvik {
namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

bool isLetter(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

}  // namespace

std::optional<std::size_t> FileStart::read(char* buffer, std::size_t capacity) {
  const std::optional<std::size_t> count = file_.read(buffer, capacity);
  if (!count) return count;
  // The mark's 3 bytes and a line's kept bytes.
  const std::size_t keep = kByteOrderMark.size() + kKeptBytes;
  for (std::size_t i = 0; i < *count && !lineEnded_; ++i) {
    const char c = buffer[i];
    if (c == '\n' || c == '\r' || start_.size() == keep) {
      lineEnded_ = true;
    } else {
      start_.push_back(c);
    }
  }
  return count;
}

bool FileStart::byteOrderMark() const {
  return start_.starts_with(kByteOrderMark);
}

std::string_view FileStart::firstLine() const {
  std::string_view line = start_;
  if (byteOrderMark()) line.remove_prefix(kByteOrderMark.size());
  return line;
}

std::optional<char> FileStart::headerSeparator() const {
  const std::string_view line = firstLine();
  // A line that starts with a number is a size, whatever follows it.
  const std::size_t start = line.find_first_not_of(" \t");
  if (start == std::string_view::npos ||
      !(isLetter(line[start]) || line[start] == '"')) {
    return std::nullopt;
  }
  bool letter = false;
  for (const char c : line) letter = letter || isLetter(c);
  if (!letter) return std::nullopt;
  const std::size_t first = line.find_first_of(",;\t");
  if (first == std::string_view::npos) return std::nullopt;
  return line[first];
}

}  // namespace talvik
