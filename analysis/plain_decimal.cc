#include "analysis/plain_decimal.h"

#include <cstddef>

#include "analysis/number_characters.h"

namespace talvik {
namespace {

std::size_t digitsFrom(std::string_view text, std::size_t position) {
  std::size_t end = position;
  while (end < text.size() && isDigit(text[end])) ++end;
  return end - position;
}

}  // namespace

std::optional<std::string> plainDecimal(std::string_view text,
                                        const DecimalNotation& notation) {
  std::string number;
  std::size_t position = 0;
  if (position < text.size() && isSign(text[position])) {
    number += text[position++];
  }
  const std::size_t wholeDigits = digitsFrom(text, position);
  number.append(text.substr(position, wholeDigits));
  position += wholeDigits;
  if (notation.thousandsGroups && position < text.size() &&
      text[position] == ',') {
    if (wholeDigits < 1 || wholeDigits > 3) return std::nullopt;
    while (position < text.size() && text[position] == ',') {
      if (digitsFrom(text, position + 1) != 3) return std::nullopt;
      number.append(text.substr(position + 1, 3));
      position += 4;
    }
  }
  std::size_t fractionDigits = 0;
  if (position < text.size() && text[position] == notation.decimalMark) {
    fractionDigits = digitsFrom(text, position + 1);
    number += '.';
    number.append(text.substr(position + 1, fractionDigits));
    position += 1 + fractionDigits;
  }
  if (wholeDigits + fractionDigits == 0) return std::nullopt;
  if (position < text.size() &&
      (text[position] == 'e' || text[position] == 'E')) {
    number += 'e';
    ++position;
    if (position < text.size() && isSign(text[position])) {
      number += text[position++];
    }
    const std::size_t exponentDigits = digitsFrom(text, position);
    if (exponentDigits == 0) return std::nullopt;
    number.append(text.substr(position, exponentDigits));
    position += exponentDigits;
  }
  if (position != text.size()) return std::nullopt;
  return number;
}

}  // namespace talvik
