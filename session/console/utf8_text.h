#ifndef TALVIK_SESSION_CONSOLE_UTF8_TEXT_H_
#define TALVIK_SESSION_CONSOLE_UTF8_TEXT_H_

#include <cstddef>
#include <string_view>

namespace talvik {

// The length of the valid UTF-8 sequence at the start of `text` (1 for an
// ASCII byte), or 0 when none starts there: a stray continuation byte, an
// overlong form, a surrogate, beyond U+10FFFF or cut off. Documents that must
// be valid UTF-8 (SVG, JSON) replace what does not pass.
// REQUIRES: !text.empty()
std::size_t utf8SequenceLength(std::string_view text);

}  // namespace talvik

#endif  // TALVIK_SESSION_CONSOLE_UTF8_TEXT_H_
