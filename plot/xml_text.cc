#include "plot/xml_text.h"

#include <cstddef>

namespace talvik {
namespace {

constexpr std::string_view kReplacementCharacter = "\xEF\xBF\xBD";

bool isContinuation(unsigned char byte) { return (byte & 0xC0) == 0x80; }

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

std::size_t utf8SequenceLength(std::string_view text) {
  const auto byte = [&](std::size_t i) {
    return static_cast<unsigned char>(text[i]);
  };
  const unsigned char lead = byte(0);
  if (lead < 0x80) return 1;
  std::size_t length = 0;
  unsigned char low = 0x80;  // the range allowed for the second byte
  unsigned char high = 0xBF;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    if (lead == 0xE0) low = 0xA0;   // no overlong forms
    if (lead == 0xED) high = 0x9F;  // no surrogates
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    if (lead == 0xF0) low = 0x90;   // no overlong forms
    if (lead == 0xF4) high = 0x8F;  // nothing above U+10FFFF
  } else {
    return 0;
  }
  if (text.size() < length || byte(1) < low || byte(1) > high) return 0;
  for (std::size_t i = 2; i < length; ++i) {
    if (!isContinuation(byte(i))) return 0;
  }
  return length;
}

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
