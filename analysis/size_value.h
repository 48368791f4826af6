#ifndef TALVIK_ANALYSIS_SIZE_VALUE_H_
#define TALVIK_ANALYSIS_SIZE_VALUE_H_

#include <array>
#include <cstdint>
#include <optional>

namespace talvik {

// Checks and converts one size value, fed a character at a time, in bounded
// memory however long the value is. The form is an optional sign, digits with
// at most one decimal point, and an optional exponent (E, D or Q in either
// case with an optional sign, or a sign alone, then digits); after the sign,
// a first I gives infinity and a first N not-a-number, the rest unexamined.
class SizeValueScanner {
 public:
  // REQUIRES: c is not a blank, tab, comma, slash, CR or LF (they end values)
  void add(char c);

  // The value as a float, correctly rounded (beyond the float range it is
  // infinity), or nullopt when the characters do not form a number.
  std::optional<float> value() const;

  // True when the value was taken from a leading I or N (a word such as
  // "INF", "NaN" or a heading "Number") rather than from digits.
  bool isWord() const { return part_ == Part::kNotExamined; }

 private:
  enum class Part {
    kStart,
    kAfterSign,
    kMantissa,
    kExponentLetter,
    kExponentSign,
    kExponentDigits,
    kNotExamined,
    kMalformed,
  };

  // Enough significant digits to round any decimal to the nearest float: the
  // digits beyond them only matter as "some nonzero digit was dropped".
  static constexpr int kKeptDigits = 200;

  void addMantissaDigit(char c);
  void addExponentDigit(char c);
  float converted() const;

  Part part_ = Part::kStart;
  bool negative_ = false;
  bool sawPoint_ = false;
  bool sawMantissaDigit_ = false;
  float special_ = 0.0f;  // the value of an I or N form
  // The mantissa is 0.d1d2d3... x 10^scale_, with d1 its first nonzero digit.
  std::array<char, kKeptDigits> digits_{};
  int keptDigits_ = 0;
  bool droppedNonzeroDigit_ = false;
  std::int64_t scale_ = 0;
  bool exponentNegative_ = false;
  std::int64_t exponent_ = 0;  // capped, see addExponentDigit
};

}  // namespace talvik

#endif  // TALVIK_ANALYSIS_SIZE_VALUE_H_
