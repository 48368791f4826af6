#ifndef TALVIK_SESSION_CONSOLE_FIELD_FILL_H_
#define TALVIK_SESSION_CONSOLE_FIELD_FILL_H_

#include <algorithm>
#include <string_view>

namespace talvik::format_internal {

// The field writers fill field[0, width) and return field + width.

inline char* putAsterisks(char* field, int width) {
  return std::fill_n(field, width, '*');
}

// `text` after blanks, or asterisks when it is wider than the field.
inline char* putRightAligned(char* field, std::string_view text, int width) {
  if (static_cast<int>(text.size()) > width) return putAsterisks(field, width);
  char* end = field + width;
  std::fill(field, end - text.size(), ' ');
  std::copy(text.begin(), text.end(), end - text.size());
  return end;
}

}  // namespace talvik::format_internal

#endif  // TALVIK_SESSION_CONSOLE_FIELD_FILL_H_
