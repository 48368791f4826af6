#include "plot/xml_text.h"

#include <cstddef>

#include "session/console/utf8_text.h"

namespace talvik {
namespace {

constexpr std::string_view kReplacementCharacter = "\xEF\xBF\xBD";

// The length of the valid UTF-8 sequence of an XML character at the start of
// `text`, or 0 when there is none.
std::size_t xmlCharacterLength(std::string_view text) {
  const auto lead = static_cast<unsigned char>(text[0]);
  if (lead < 0x20 && lead != '\t' && lead != '\n' && lead != '\r') return 0;
  const std::size_t length = utf8SequenceLength(text);
  // U+FFFE and U+FFFF are not XML characters.
  if (length == 3 && text.substr(0, 2) == "\xEF\xBF" &&
      static_cast<unsigned char>(text[2]) >= 0xBE) {
    return 0;
  }
  return length;
}

}  // namespace

std::string escapeXml(std::string_view text) {
  std::string escaped;
  escaped.reserve(text.size());
  while (!text.empty()) {
    switch (text.front()) {
      case '&':
        escaped += "&amp;";
        break;
      case '<':
        escaped += "&lt;";
        break;
      case '>':
        escaped += "&gt;";
        break;
      case '"':
        escaped += "&quot;";
        break;
      case '\'':
        escaped += "&apos;";
        break;
      default: {
        const std::size_t length = xmlCharacterLength(text);
        if (length == 0) {
          escaped += kReplacementCharacter;
          text.remove_prefix(1);
        } else {
          escaped += text.substr(0, length);
          text.remove_prefix(length);
        }
        continue;
      }
    }
    text.remove_prefix(1);
  }
  return escaped;
}

}  // namespace talvik
