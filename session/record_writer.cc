#include "session/record_writer.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>

namespace talvik {
namespace {

// Significant digits kept from a real before it is rounded for its field.
constexpr int kExpansionDigits = 8;

// The first kExpansionDigits significant decimal digits of a value, cut off
// from its exact value: value = 0.d1d2...d8... x 10^exponent, so `exponent`
// is the number of digits before the decimal point (0.0123 has -1).
struct Expansion {
  std::array<int, kExpansionDigits> digits{};
  int exponent = 0;
};

// The exact decimal value of a float has at most 112 significant digits
// ((2^24 - 1) x 5^149 for the smallest ones), so printed with that many it is
// exact and cutting it loses nothing to an earlier rounding.
constexpr int kExactFloatDigits = 112;

// A float's 17 significant digits, correctly rounded, are its exact expansion
// when that has at most 17 digits; otherwise they are within half a unit of
// the 17th digit of it, so the first 8 are the exact ones cut off unless
// digits 9 to 17 are all 0 or all 9 (the rounding may then have crossed a
// unit of the 8th). Only then is the exact expansion printed, at about
// twenty times the cost.
constexpr int kRoundedDigits = 17;

// The number of significant digits of the exact expansion of a float whose
// leading digit stands at 10^decimalExponent: its integer digits and one
// decimal for each binary digit after the point.
int exactDigitCount(float magnitude, int decimalExponent) {
  int binaryExponent = 0;
  const float fraction = std::frexp(magnitude, &binaryExponent);
  auto significand = static_cast<std::uint32_t>(std::ldexp(fraction, 24));
  int bitsAfterPoint = 24 - binaryExponent;
  while (bitsAfterPoint > 0 && significand % 2 == 0) {
    significand /= 2;
    --bitsAfterPoint;
  }
  return decimalExponent + 1 + std::max(bitsAfterPoint, 0);
}

// REQUIRES: magnitude is finite and greater than zero
Expansion expandExactly(float magnitude);

// REQUIRES: magnitude is finite and greater than zero
Expansion expand(float magnitude) {
  // "d.dddddddddddddddde-XX"
  std::array<char, kRoundedDigits + 8> text;
  const std::to_chars_result printed = std::to_chars(
      text.data(), text.data() + text.size(), static_cast<double>(magnitude),
      std::chars_format::scientific, kRoundedDigits - 1);
  const char* exponentSign = text.data() + kRoundedDigits + 2;
  int scientificExponent = 0;
  std::from_chars(exponentSign + 1, printed.ptr, scientificExponent);
  if (*exponentSign == '-') scientificExponent = -scientificExponent;
  if (exactDigitCount(magnitude, scientificExponent) > kRoundedDigits) {
    const char* beyond = text.data() + kExpansionDigits + 1;
    const char* last = text.data() + kRoundedDigits + 1;
    const auto all = [&](char digit) {
      return std::all_of(beyond, last, [digit](char c) { return c == digit; });
    };
    if (all('0') || all('9')) return expandExactly(magnitude);
  }
  Expansion expansion;
  expansion.digits[0] = text[0] - '0';
  for (int k = 1; k < kExpansionDigits; ++k) {
    expansion.digits[k] = text[k + 1] - '0';
  }
  expansion.exponent = scientificExponent + 1;
  return expansion;
}

Expansion expandExactly(float magnitude) {
  // "d.ddd...e-XX": one digit, the point, the other digits, the exponent.
  std::array<char, kExactFloatDigits + 8> text;
  const std::to_chars_result printed = std::to_chars(
      text.data(), text.data() + text.size(), static_cast<double>(magnitude),
      std::chars_format::scientific, kExactFloatDigits - 1);
  Expansion expansion;
  expansion.digits[0] = text[0] - '0';
  for (int k = 1; k < kExpansionDigits; ++k) {
    expansion.digits[k] = text[k + 1] - '0';
  }
  const char* exponentSign = text.data() + kExactFloatDigits + 2;
  int scientificExponent = 0;
  std::from_chars(exponentSign + 1, printed.ptr, scientificExponent);
  if (*exponentSign == '-') scientificExponent = -scientificExponent;
  expansion.exponent = scientificExponent + 1;
  return expansion;
}

// The digits an F field shows, after rounding. Position k (from 0) of the
// shown digits is digits[k], or 0 beyond the expansion's last digit.
struct ShownDigits {
  std::array<int, kExpansionDigits> digits{};
  int exponent = 0;  // digits before the decimal point; 0 or less below 1
  int count = 0;     // exponent + decimals, or 0 when nothing is shown

  int at(int position) const {
    return position < kExpansionDigits ? digits[position] : 0;
  }
  bool allZero() const {
    const int stored = std::min(count, kExpansionDigits);
    return std::all_of(digits.begin(), digits.begin() + stored,
                       [](int digit) { return digit == 0; });
  }
};

// Rounds half up on the digit after the shown ones. With 8 or more shown
// digits the 8th is the rounding digit: it becomes 0 and carries into the 7th
// when it is 5 or more, and stays as it is otherwise. A carry out of the first
// digit (or a rounding first digit of 5 or more when no digit is shown) gives
// a leading 1 and one more digit before the point.
ShownDigits roundForField(const Expansion& expansion, int decimals) {
  ShownDigits shown{expansion.digits, expansion.exponent,
                    expansion.exponent + decimals};
  if (shown.count < 0) {
    shown.count = 0;
    return shown;
  }
  const int rounding = std::min(shown.count, kExpansionDigits - 1);
  if (shown.digits[rounding] < 5) return shown;
  std::fill(shown.digits.begin() + rounding, shown.digits.end(), 0);
  int carry = rounding - 1;
  while (carry >= 0 && shown.digits[carry] == 9) shown.digits[carry--] = 0;
  if (carry >= 0) {
    ++shown.digits[carry];
  } else {
    shown.digits[0] = 1;
    ++shown.exponent;
    ++shown.count;
  }
  return shown;
}

char digitCharacter(int digit) { return static_cast<char>('0' + digit); }

std::string asterisks(int width) { return std::string(width, '*'); }

std::string rightAligned(std::string_view text, int width) {
  if (static_cast<int>(text.size()) > width) return asterisks(width);
  std::string field(width - text.size(), ' ');
  field += text;
  return field;
}

void endRecord(RecordDestination& destination, std::string& record) {
  record += "\r\n";
  destination.putRecord(record);
  record.clear();
}

}  // namespace

std::string editText(std::string_view text, int width) {
  return rightAligned(text.substr(0, width), width);
}

std::string editWhole(int value, int width) {
  std::array<char, 12> digits;  // "-2147483648"
  const char* end =
      std::to_chars(digits.data(), digits.data() + digits.size(), value).ptr;
  return rightAligned(std::string_view(digits.data(), end - digits.data()),
                      width);
}

std::string editReal(float value, int width, int decimals) {
  const bool negative = std::signbit(value);
  if (std::isnan(value)) return rightAligned(negative ? "-NaN" : "NaN", width);
  if (std::isinf(value)) return rightAligned(negative ? "-INF" : "INF", width);

  // Zero, negative zero included, shows as a positive zero below 1.
  const Expansion expansion =
      value == 0.0f ? Expansion{} : expand(std::fabs(value));
  const ShownDigits shown = roundForField(expansion, decimals);

  const bool sign = negative && !shown.allZero();
  const int integerDigits = std::max(shown.exponent, 0);
  const bool leadingZero =
      shown.exponent <= 0 && width - decimals - 1 - (sign ? 1 : 0) >= 1;
  const int needed =
      (sign ? 1 : 0) + integerDigits + (leadingZero ? 1 : 0) + 1 + decimals;
  if (needed > width) return asterisks(width);

  std::string field(width - needed, ' ');
  if (sign) field += '-';
  if (leadingZero) field += '0';
  for (int k = 0; k < integerDigits; ++k) {
    field += digitCharacter(shown.at(k));
  }
  field += '.';
  // Decimal j stands at shown position exponent + j; positions before the
  // first significant digit are the zeros after the point of a small value.
  for (int j = 0; j < decimals; ++j) {
    const int position = shown.exponent + j;
    field += position < 0 ? '0' : digitCharacter(shown.at(position));
  }
  return field;
}

namespace format_internal {

void writeItems(RecordDestination& destination, std::span<const Item> items,
                std::span<const Value> values) {
  std::string record;
  std::size_t next = 0;
  for (const Item& item : items) {
    switch (item.kind) {
      case ItemKind::kLiteral:
        record += item.literal;
        break;
      case ItemKind::kRecordBreak:
        endRecord(destination, record);
        break;
      case ItemKind::kText:
        record +=
            editText(std::get<std::string_view>(values[next++]), item.width);
        break;
      case ItemKind::kWhole:
        record += editWhole(std::get<int>(values[next++]), item.width);
        break;
      case ItemKind::kReal:
        record += editReal(std::get<float>(values[next++]), item.width,
                           item.decimals);
        break;
    }
  }
  endRecord(destination, record);
}

}  // namespace format_internal
}  // namespace talvik
