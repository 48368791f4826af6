#include "session/console/real_field.h"

#include <algorithm>
#include <array>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "session/console/field_fill.h"

namespace talvik {
namespace {

// Significant digits kept from a real before it is rounded for its field.
constexpr int kExpansionDigits = 8;

// 10^0 to 10^19, every power of ten a std::uint64_t holds.
constexpr std::array<std::uint64_t, 20> kPowersOfTen = [] {
  std::array<std::uint64_t, 20> powers{};
  powers[0] = 1;
  for (std::size_t k = 1; k < powers.size(); ++k) {
    powers[k] = powers[k - 1] * 10;
  }
  return powers;
}();

// The first kExpansionDigits significant decimal digits of a value, cut off
// from its exact value, as one number: value = 0.d1d2...d8... x 10^exponent
// and digits = d1d2...d8, so `exponent` is the number of digits before the
// decimal point (0.0123 has -1). Zero has digits 0 and exponent 0.
struct Expansion {
  std::uint32_t digits = 0;
  int exponent = 0;
};

int decimalDigitCount(std::uint64_t number) {
  // bit_width x log10(2), cut off, is the count or one less.
  const int lower = static_cast<int>(std::bit_width(number)) * 1233 >> 12;
  return lower + (number >= kPowersOfTen[lower] ? 1 : 0);
}

// The exact decimal value of a float has at most 112 significant digits
// ((2^24 - 1) x 5^149 for the smallest ones), so printed with that many it is
// exact and cutting it loses nothing to an earlier rounding.
constexpr int kExactFloatDigits = 112;

// The slow way, for the magnitudes the whole-number arithmetic of expand()
// does not reach.
// REQUIRES: magnitude is finite and greater than zero
Expansion expandExactly(float magnitude) {
  // "d.ddd...e-XX": one digit, the point, the other digits, the exponent.
  std::array<char, kExactFloatDigits + 8> text;
  const std::to_chars_result printed = std::to_chars(
      text.data(), text.data() + text.size(), static_cast<double>(magnitude),
      std::chars_format::scientific, kExactFloatDigits - 1);
  Expansion expansion;
  expansion.digits = static_cast<std::uint32_t>(text[0] - '0');
  for (int k = 1; k < kExpansionDigits; ++k) {
    expansion.digits =
        expansion.digits * 10 + static_cast<std::uint32_t>(text[k + 1] - '0');
  }
  const char* exponentSign = text.data() + kExactFloatDigits + 2;
  int scientificExponent = 0;
  std::from_chars(exponentSign + 1, printed.ptr, scientificExponent);
  if (*exponentSign == '-') scientificExponent = -scientificExponent;
  expansion.exponent = scientificExponent + 1;
  return expansion;
}

// A normal float is significand x 2^binaryExponent with a 24-bit
// significand. From 2^23 to 2^63 it is a whole number that a std::uint64_t
// holds. From 10^-5 to 2^23, significand x 10^12 still fits in 64 bits, and
// shifting it right by -binaryExponent (at most 63) cuts off exactly the
// value x 10^12, whose whole part has at least 8 digits. Other magnitudes,
// subnormals among them, are printed in full.
// REQUIRES: magnitude is finite and greater than zero
Expansion expand(float magnitude) {
  constexpr int kSignificandBits = 24;
  constexpr int kFractionScale = 12;
  const auto bits = std::bit_cast<std::uint32_t>(magnitude);
  const auto biasedExponent = static_cast<int>(bits >> (kSignificandBits - 1));
  if (biasedExponent == 0) return expandExactly(magnitude);
  const std::uint64_t significand =
      (bits & ((1u << (kSignificandBits - 1)) - 1)) |
      (1u << (kSignificandBits - 1));
  const int binaryExponent = biasedExponent - 127 - (kSignificandBits - 1);

  std::uint64_t whole = 0;
  int scale = 0;
  if (binaryExponent >= 0 && binaryExponent < 64 - kSignificandBits) {
    whole = significand << binaryExponent;
  } else if (binaryExponent < 0 && binaryExponent > -64) {
    whole = significand * kPowersOfTen[kFractionScale] >> -binaryExponent;
    scale = kFractionScale;
  } else {
    return expandExactly(magnitude);
  }
  const int count = decimalDigitCount(whole);
  if (count < kExpansionDigits && scale != 0) return expandExactly(magnitude);
  const std::uint64_t digits =
      count >= kExpansionDigits
          ? whole / kPowersOfTen[count - kExpansionDigits]
          : whole * kPowersOfTen[kExpansionDigits - count];
  return {static_cast<std::uint32_t>(digits), count - scale};
}

// The digits an F field shows after rounding: those of `units` followed by
// `zeros` zeros, the last `decimals` of them after the point (a value below 1
// has zeros between the point and them). `units` is 0 when the value shows
// as zero.
struct ShownDigits {
  std::uint32_t units = 0;
  int zeros = 0;
  int exponent = 0;  // digits before the decimal point; 0 or less below 1
};

// Rounds half up on the digit after the shown ones. With 8 or more shown
// digits the 8th is the rounding digit: it becomes 0 and carries into the 7th
// when it is 5 or more, and stays as it is otherwise. A carry out of the first
// digit (or a rounding first digit of 5 or more when no digit is shown) gives
// a leading 1 and one more digit before the point.
ShownDigits roundForField(const Expansion& expansion, int decimals) {
  const int count = expansion.exponent + decimals;
  if (count < 0) return {0, 0, expansion.exponent};
  if (count < kExpansionDigits) {
    // The shown digits and the rounding digit after them.
    const auto kept = static_cast<std::uint32_t>(
        expansion.digits / kPowersOfTen[kExpansionDigits - 1 - count]);
    const std::uint32_t units = kept / 10 + (kept % 10 >= 5 ? 1 : 0);
    const bool carried = units == kPowersOfTen[count];
    return {units, 0, expansion.exponent + (carried ? 1 : 0)};
  }
  const std::uint32_t units = expansion.digits % 10 >= 5
                                  ? (expansion.digits / 10 + 1) * 10
                                  : expansion.digits;
  const bool carried = units == kPowersOfTen[kExpansionDigits];
  return {units, count - kExpansionDigits,
          expansion.exponent + (carried ? 1 : 0)};
}

// "00" to "99", so that digits are written two at a time.
constexpr std::array<char, 200> kDigitPairs = [] {
  std::array<char, 200> pairs{};
  for (std::size_t k = 0; k < 100; ++k) {
    pairs[2 * k] = static_cast<char>('0' + k / 10);
    pairs[2 * k + 1] = static_cast<char>('0' + k % 10);
  }
  return pairs;
}();

// Writes the last `count` digits of `number`, zeros first when it has fewer,
// leftwards to `end`; returns the first of them.
char* putDigits(char* end, std::uint32_t number, int count) {
  for (; count >= 2; count -= 2) {
    const std::size_t pair = 2 * static_cast<std::size_t>(number % 100);
    number /= 100;
    end -= 2;
    std::memcpy(end, &kDigitPairs[pair], 2);
  }
  if (count == 1) *--end = static_cast<char>('0' + number % 10);
  return end;
}

}  // namespace

namespace format_internal {

char* putReal(char* field, float value, int width, int decimals) {
  const bool negative = std::signbit(value);
  if (std::isnan(value)) {
    return putRightAligned(field, negative ? "-NaN" : "NaN", width);
  }
  if (std::isinf(value)) {
    return putRightAligned(field, negative ? "-INF" : "INF", width);
  }

  // Zero, negative zero included, shows as a positive zero below 1.
  const ShownDigits shown = roundForField(
      value == 0.0f ? Expansion{} : expand(std::fabs(value)), decimals);

  const bool sign = negative && shown.units != 0;
  const int integerDigits = std::max(shown.exponent, 0);
  const bool leadingZero =
      integerDigits == 0 && width - decimals - 1 - (sign ? 1 : 0) >= 1;
  const int needed =
      (sign ? 1 : 0) + integerDigits + (leadingZero ? 1 : 0) + 1 + decimals;
  if (needed > width) return putAsterisks(field, width);

  // Leftwards from the last decimal: the zeros after the units, the units'
  // digits, then zeros up to the point when the value is below 1. The units
  // are split at the point: 10^9 is beyond them, so a split at 9 or more
  // decimals leaves them all after the point.
  char* const end = field + width;
  char* next = end;
  const auto putZeros = [&next](int count) {
    next -= count;
    std::fill_n(next, count, '0');
  };
  const int zerosAfterPoint = std::min(shown.zeros, decimals);
  putZeros(zerosAfterPoint);
  const int unitDigitsAfterPoint = decimals - zerosAfterPoint;
  const auto split = static_cast<std::uint32_t>(
      kPowersOfTen[std::min(unitDigitsAfterPoint, 9)]);
  next = putDigits(next, shown.units % split, unitDigitsAfterPoint);
  *--next = '.';
  const int zerosBeforePoint = shown.zeros - zerosAfterPoint;
  putZeros(zerosBeforePoint);
  next = putDigits(next, shown.units / split, integerDigits - zerosBeforePoint);
  if (leadingZero) *--next = '0';
  if (sign) *--next = '-';
  std::fill(field, next, ' ');
  return end;
}

}  // namespace format_internal

std::string editReal(float value, int width, int decimals) {
  std::string field(static_cast<std::size_t>(width), ' ');
  format_internal::putReal(field.data(), value, width, decimals);
  return field;
}

}  // namespace talvik
