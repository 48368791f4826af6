#ifndef TALVIK_SESSION_CONSOLE_SHOWN_TEXT_H_
#define TALVIK_SESSION_CONSOLE_SHOWN_TEXT_H_

#include <cstddef>
#include <limits>
#include <string>
#include <string_view>

namespace talvik {

// Text that came from outside (a typed name, a file name, a cell of a file) as
// a message shows it to a person: each control byte (0 to 31 and 127) as
// \xNN in upper-case hexadecimal, so that an escape sequence cannot drive the
// terminal, a NUL hide the rest or a newline split a one-line message; every
// other byte as it stands, so that names in any script read as typed. Text
// longer than `maxBytes` is cut there and ends in "...".
std::string shownText(
    std::string_view text,
    std::size_t maxBytes = std::numeric_limits<std::size_t>::max());

// How much of a file name the companions' messages show: more than the paths
// people use, so that a name is cut only when it is so long that the whole
// would bury the message.
inline constexpr std::size_t kShownNameBytes = 1024;

}  // namespace talvik

#endif  // TALVIK_SESSION_CONSOLE_SHOWN_TEXT_H_
