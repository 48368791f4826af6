#ifndef TALVIK_SESSION_CONSOLE_REAL_FIELD_H_
#define TALVIK_SESSION_CONSOLE_REAL_FIELD_H_

#include <string>

namespace talvik {

// F<w>.<d>: the value cut to 8 significant digits, rounded half up to the
// shown digits, right-aligned; "NaN" and "INF" for the special values. Exactly
// `width` characters: `width` asterisks when the value does not fit.
// REQUIRES: width >= 1, decimals >= 0
std::string editReal(float value, int width, int decimals);

namespace format_internal {

// editReal's field written to field[0, width); returns field + width.
char* putReal(char* field, float value, int width, int decimals);

}  // namespace format_internal
}  // namespace talvik

#endif  // TALVIK_SESSION_CONSOLE_REAL_FIELD_H_
