#ifndef TALVIK_SESSION_CONSOLE_REAL_FIELD_TESTUTIL_H_
#define TALVIK_SESSION_CONSOLE_REAL_FIELD_TESTUTIL_H_

#include <charconv>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>

namespace talvik {

// F fields derived afresh from a value's exact decimal expansion, with none
// of editReal's shortcuts, to hold its results against.

inline std::string rightAlignedOrAsterisks(const std::string& text, int width) {
  if (text.size() > static_cast<std::size_t>(width)) {
    return std::string(width, '*');
  }
  return std::string(width - text.size(), ' ') + text;
}

// The exact decimal expansion of a positive finite float: its significant
// digits (more than enough, zeros after the exact ones) and the number of
// digits before the decimal point.
struct ExactDigits {
  std::string digits;
  int before = 0;
};

inline ExactDigits exactDigits(float magnitude) {
  // A float's exact expansion has at most 112 significant digits, and
  // std::to_chars prints as many as it is asked for exactly: "d.ddd...e-XX".
  constexpr int kShown = 150;
  char text[kShown + 10];
  const char* end =
      std::to_chars(text, text + sizeof text, static_cast<double>(magnitude),
                    std::chars_format::scientific, kShown)
          .ptr;
  ExactDigits exact;
  exact.digits.push_back(text[0]);
  exact.digits.append(text + 2, kShown);
  const char* exponentSign = text + kShown + 3;
  int exponent = 0;
  std::from_chars(exponentSign + 1, end, exponent);
  exact.before = (*exponentSign == '-' ? -exponent : exponent) + 1;
  return exact;
}

// An F<w>.<d> field derived from the value's exact expansion: cut to 8
// significant digits; round half up on the digit after the i + d shown ones,
// except that with more than 7 shown digits the 8th decides (it carries into
// the 7th, or stays as it is); nothing shown when i + d is below 0.
inline std::string expectedReal(float value, int width, int decimals) {
  const bool negative = std::signbit(value);
  if (std::isnan(value)) {
    return rightAlignedOrAsterisks(negative ? "-NaN" : "NaN", width);
  }
  if (std::isinf(value)) {
    return rightAlignedOrAsterisks(negative ? "-INF" : "INF", width);
  }
  // The shown value in units of the last decimal: `units` then `zeros` 0s.
  std::int64_t units = 0;
  int zeros = 0;
  if (value != 0.0f) {
    const ExactDigits exact = exactDigits(std::fabs(value));
    const std::int64_t cut = std::stoll(exact.digits.substr(0, 8));
    const int shown = exact.before + decimals;
    if (shown >= 8) {
      units = cut % 10 >= 5 ? (cut / 10 + 1) * 10 : cut;
      zeros = shown - 8;
    } else if (shown >= 0) {
      std::int64_t scale = 1;
      for (int k = shown; k < 8; ++k) scale *= 10;
      units = cut / scale + ((cut / (scale / 10)) % 10 >= 5 ? 1 : 0);
    }
  }
  std::string digits = units == 0
                           ? std::string("0")
                           : std::to_string(units) + std::string(zeros, '0');
  if (digits.size() < static_cast<std::size_t>(decimals) + 1) {
    digits.insert(0, decimals + 1 - digits.size(), '0');
  }
  const bool sign = negative && units != 0;
  std::string integer = digits.substr(0, digits.size() - decimals);
  if (integer == "0" && width - decimals - 1 - (sign ? 1 : 0) < 1) {
    integer.clear();
  }
  return rightAlignedOrAsterisks((sign ? "-" : "") + integer + "." +
                                     digits.substr(digits.size() - decimals),
                                 width);
}

}  // namespace talvik

#endif  // TALVIK_SESSION_CONSOLE_REAL_FIELD_TESTUTIL_H_
