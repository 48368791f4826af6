#include "session/console/shown_text.h"

namespace talvik {

std::string shownText(std::string_view text, std::size_t maxBytes) {
  static constexpr char kHexDigits[] = "0123456789ABCDEF";
  const bool cut = text.size() > maxBytes;
  if (cut) text = text.substr(0, maxBytes);
  std::string shown;
  shown.reserve(text.size() + (cut ? 3 : 0));
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 32 || byte == 127) {
      shown += "\\x";
      shown += kHexDigits[byte >> 4];
      shown += kHexDigits[byte & 0xF];
    } else {
      shown += c;
    }
  }
  if (cut) shown += "...";
  return shown;
}

}  // namespace talvik
