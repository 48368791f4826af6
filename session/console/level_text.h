#ifndef TALVIK_SESSION_CONSOLE_LEVEL_TEXT_H_
#define TALVIK_SESSION_CONSOLE_LEVEL_TEXT_H_

#include <optional>
#include <string_view>

namespace talvik {

// The confidence level a companion's --level value gives: digits only, a
// whole number from 1 to 99. Leading zeros are allowed ("099" is 99), as the
// dialogue's level field reads them. Nullopt for anything else: a sign,
// blanks, a point, or a number out of range however long.
std::optional<int> levelFromText(std::string_view text);

}  // namespace talvik

#endif  // TALVIK_SESSION_CONSOLE_LEVEL_TEXT_H_
