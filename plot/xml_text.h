#ifndef TALVIK_PLOT_XML_TEXT_H_
#define TALVIK_PLOT_XML_TEXT_H_

#include <cstddef>
#include <string>
#include <string_view>

namespace talvik {

// Text that may stand in XML character data and attribute values: the markup
// characters & < > " ' become entity references, and every byte sequence that
// is not valid UTF-8 or not an XML character (control bytes, U+FFFE, U+FFFF)
// becomes U+FFFD, so that any file name gives a well-formed document.
std::string escapeXml(std::string_view text);

// The length of the valid UTF-8 sequence at the start of `text` (1 for an
// ASCII byte), or 0 when none starts there: a stray continuation byte, an
// overlong form, a surrogate, beyond U+10FFFF or cut off.
// REQUIRES: !text.empty()
std::size_t utf8SequenceLength(std::string_view text);

}  // namespace talvik

#endif  // TALVIK_PLOT_XML_TEXT_H_
