#ifndef TALVIK_ANALYSIS_PLAIN_DECIMAL_H_
#define TALVIK_ANALYSIS_PLAIN_DECIMAL_H_

#include <optional>
#include <string>
#include <string_view>

namespace talvik {

// How a plain decimal number may be written besides its plain form.
struct DecimalNotation {
  char decimalMark = '.';
  // Commas between threes of the whole digits, as in "1,234,567.5".
  bool thousandsGroups = false;
};

// Reads a plain decimal number: an optional sign, digits with at most one
// decimal mark and at least one digit (the whole digits grouped in threes when
// the notation allows it), then optionally an exponent "e" or "E", an
// optional sign and digits. Blanks, "inf", "nan" and hexadecimal forms are
// not plain decimals. Returns the number written with a point, without
// groups and with an "e" exponent ("-1234.5e3"), as strtod and the size value
// scanner read it, or nullopt when `text` is no plain decimal number.
// REQUIRES: notation.decimalMark is not ',' when notation.thousandsGroups
std::optional<std::string> plainDecimal(std::string_view text,
                                        const DecimalNotation& notation = {});

}  // namespace talvik

#endif  // TALVIK_ANALYSIS_PLAIN_DECIMAL_H_
