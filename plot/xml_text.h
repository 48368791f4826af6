#ifndef TALVIK_PLOT_XML_TEXT_H_
#define TALVIK_PLOT_XML_TEXT_H_

#include <string>
#include <string_view>

namespace talvik {

// Text that may stand in XML character data and attribute values: the markup
// characters & < > " ' become entity references, and every byte sequence that
// is not valid UTF-8 or not an XML character (control bytes, U+FFFE, U+FFFF)
// becomes U+FFFD, so that any file name gives a well-formed document.
std::string escapeXml(std::string_view text);

}  // namespace talvik

#endif  // TALVIK_PLOT_XML_TEXT_H_
