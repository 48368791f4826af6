#include "analysis/size_value.h"

#include <algorithm>
#include <charconv>
#include <limits>
#include <system_error>

#include "analysis/number_characters.h"
#include "fast_float/fast_float.h"

namespace talvik {
namespace {

// Exponent digits beyond this are all alike: the cap exceeds the number of
// mantissa digits any file can hold, so a capped exponent still wins.
constexpr std::int64_t kExponentCap = 1'000'000'000'000'000;

// Decimal exponents far beyond the float range, where every mantissa of at
// most kKeptDigits + 1 digits overflows or underflows.
constexpr std::int64_t kExponentLimit = 100'000;

}  // namespace

void SizeValueScanner::add(char c) {
  switch (part_) {
    case Part::kStart:
      if (isSign(c)) {
        negative_ = c == '-';
        part_ = Part::kAfterSign;
        return;
      }
      [[fallthrough]];
    case Part::kAfterSign:
      if (c == 'I' || c == 'i') {
        special_ = std::numeric_limits<float>::infinity();
        part_ = Part::kNotExamined;
      } else if (c == 'N' || c == 'n') {
        special_ = std::numeric_limits<float>::quiet_NaN();
        part_ = Part::kNotExamined;
      } else if (isDigit(c) || c == '.') {
        part_ = Part::kMantissa;
        add(c);
      } else {
        part_ = Part::kMalformed;
      }
      return;
    case Part::kMantissa:
      if (isDigit(c)) {
        addMantissaDigit(c);
      } else if (c == '.' && !sawPoint_) {
        sawPoint_ = true;
      } else if (isExponentLetter(c)) {
        part_ = Part::kExponentLetter;
      } else if (isSign(c)) {
        exponentNegative_ = c == '-';
        part_ = Part::kExponentSign;
      } else {
        part_ = Part::kMalformed;
      }
      return;
    case Part::kExponentLetter:
      if (isSign(c)) {
        exponentNegative_ = c == '-';
        part_ = Part::kExponentSign;
        return;
      }
      [[fallthrough]];
    case Part::kExponentSign:
    case Part::kExponentDigits:
      if (isDigit(c)) {
        addExponentDigit(c);
        part_ = Part::kExponentDigits;
      } else {
        part_ = Part::kMalformed;
      }
      return;
    case Part::kNotExamined:
    case Part::kMalformed:
      return;
  }
}

void SizeValueScanner::addMantissaDigit(char c) {
  sawMantissaDigit_ = true;
  if (keptDigits_ == 0 && c == '0') {
    // A leading zero only moves the first significant digit when it stands
    // after the point.
    if (sawPoint_) --scale_;
    return;
  }
  if (!sawPoint_) ++scale_;
  if (keptDigits_ < kKeptDigits) {
    digits_[keptDigits_++] = c;
  } else if (c != '0') {
    droppedNonzeroDigit_ = true;
  }
}

void SizeValueScanner::addExponentDigit(char c) {
  exponent_ = std::min(exponent_ * 10 + (c - '0'), kExponentCap);
}

std::optional<float> SizeValueScanner::value() const {
  switch (part_) {
    case Part::kNotExamined:
      return negative_ ? -special_ : special_;
    case Part::kMantissa:
    case Part::kExponentDigits:
      if (!sawMantissaDigit_) return std::nullopt;
      return negative_ ? -converted() : converted();
    default:
      return std::nullopt;
  }
}

// Hands the kept digits to std::from_chars, which rounds straight to float
// (going through double would round twice). A dropped nonzero digit is kept
// as a final 1: no float or halfway point between floats has that many
// digits, so the rounding sees the value on the same side of each.
float SizeValueScanner::converted() const {
  if (keptDigits_ == 0) return 0.0f;
  const std::int64_t power =
      std::clamp(scale_ + (exponentNegative_ ? -exponent_ : exponent_),
                 -kExponentLimit, kExponentLimit);
  std::array<char, kKeptDigits + 32> text;
  char* end = std::copy_n(digits_.begin(), keptDigits_, text.data());
  int written = keptDigits_;
  if (droppedNonzeroDigit_) {
    *end++ = '1';
    ++written;
  }
  *end++ = 'e';
  end = std::to_chars(end, text.data() + text.size(), power - written).ptr;

  // Beyond the float range the conversion gives infinity, below it zero.
  float magnitude = 0.0f;
  fast_float::from_chars(text.data(), end, magnitude);
  return magnitude;
}

}  // namespace talvik
