#include "session/console/console_reader.h"

#include <charconv>
#include <limits>
#include <string_view>
#include <system_error>

#include "analysis/number_characters.h"
#include "fast_float/fast_float.h"
#include "session/console/fault.h"

namespace talvik {
namespace {

constexpr std::size_t kTabStop = 8;
constexpr int kRealWidth = 7;
constexpr int kWholeWidth = 10;
constexpr char kReadingOperation[] = "Reading from the keyboard";
constexpr char kIllegalCharacter[] = "Illegal character in numeric input";

// Reads the next typed line and returns its first `width` columns, blank
// padded, or std::nullopt when the keyboard delivers no further line. Only the
// field's columns are kept: the rest of a line, however long, is skipped.
// REQUIRES: width >= 1
std::optional<std::string> readField(std::istream& keyboard, int width) {
  const std::size_t columns = static_cast<std::size_t>(width);
  std::istream::sentry sentry(keyboard, /*noskipws=*/true);
  if (!sentry) return std::nullopt;
  std::streambuf& typed = *keyboard.rdbuf();
  using Traits = std::istream::traits_type;
  Traits::int_type c = typed.sbumpc();
  if (Traits::eq_int_type(c, Traits::eof())) {
    keyboard.setstate(std::ios_base::eofbit);
    return std::nullopt;
  }
  std::string field;
  field.reserve(columns + kTabStop);
  while (!Traits::eq_int_type(c, Traits::eof()) &&
         Traits::to_char_type(c) != '\n') {
    const char typedChar = Traits::to_char_type(c);
    if (typedChar == '\t') {
      field.append(kTabStop - field.size() % kTabStop, ' ');
    } else if (typedChar != '\r') {
      field.push_back(typedChar);
    }
    if (field.size() >= columns) {
      field.resize(columns);
      keyboard.ignore(std::numeric_limits<std::streamsize>::max(), '\n');
      return field;
    }
    c = typed.sbumpc();
  }
  if (Traits::eq_int_type(c, Traits::eof())) {
    keyboard.setstate(std::ios_base::eofbit);
  }
  field.resize(columns, ' ');
  return field;
}

// A numeric field ends before its first comma, and its blanks never count.
std::string numericContent(std::string_view field) {
  field = field.substr(0, field.find(','));
  std::string content;
  for (char c : field) {
    if (c != ' ' && c != '\t') content.push_back(c);
  }
  return content;
}

// The value of a real field's content, or std::nullopt when its characters
// do not form a number. An exponent scales a mantissa, so it needs a mantissa
// digit before it; a mantissa without digits and nothing after it is 0, as a
// sign alone is, and an exponent start without digits is the exponent 0.
std::optional<double> realValue(std::string_view content) {
  std::size_t pos = 0;
  bool negative = false;
  if (pos < content.size() && isSign(content[pos])) {
    negative = content[pos] == '-';
    ++pos;
  }
  if (pos < content.size()) {
    const char c = content[pos];
    if (c == 'I' || c == 'i') {
      const double infinity = std::numeric_limits<double>::infinity();
      return negative ? -infinity : infinity;
    }
    if (c == 'N' || c == 'n') return std::numeric_limits<double>::quiet_NaN();
  }

  std::string mantissa;
  bool hasPoint = false;
  bool hasDigit = false;
  for (; pos < content.size(); ++pos) {
    const char c = content[pos];
    if (c == '.') {
      if (hasPoint) return std::nullopt;
      hasPoint = true;
    } else if (isDigit(c)) {
      hasDigit = true;
    } else {
      break;
    }
    mantissa.push_back(c);
  }

  char exponentSign = '+';
  std::string exponentDigits;
  if (pos < content.size()) {
    if (!hasDigit) return std::nullopt;
    if (isExponentLetter(content[pos])) {
      ++pos;
      if (pos < content.size() && isSign(content[pos])) {
        exponentSign = content[pos++];
      }
    } else if (isSign(content[pos])) {
      exponentSign = content[pos++];
    } else {
      return std::nullopt;
    }
    for (; pos < content.size(); ++pos) {
      if (!isDigit(content[pos])) return std::nullopt;
      exponentDigits.push_back(content[pos]);
    }
  }

  // Normalised as "-mantissa e+exponent" for the standard conversion.
  std::string number = negative ? "-" : "";
  number += hasDigit ? mantissa : "0";
  number += 'e';
  number += exponentSign;
  number += exponentDigits.empty() ? "0" : exponentDigits;
  double value = 0.0;
  const char* end = number.data() + number.size();
  // Beyond the double range the conversion gives an infinity, below it zero,
  // with the sign.
  const auto [stop, error] = fast_float::from_chars(number.data(), end, value);
  if (error != std::errc() || stop != end) return std::nullopt;
  return value;
}

}  // namespace

std::string ConsoleReader::readText(int width) {
  std::optional<std::string> field = readField(keyboard_, width);
  if (!field) throw endOfInputFault();
  return *std::move(field);
}

Answer<double> ConsoleReader::readReal() {
  using Kind = Answer<double>::Kind;
  const std::optional<std::string> field = readField(keyboard_, kRealWidth);
  if (!field) return {Kind::kEndOfInput, 0.0};
  const std::optional<double> value = realValue(numericContent(*field));
  if (!value) return {Kind::kUnreadable, 0.0};
  return {Kind::kValue, *value};
}

std::int64_t ConsoleReader::readWhole() {
  const std::optional<std::string> field = readField(keyboard_, kWholeWidth);
  if (!field) throw endOfInputFault();
  const std::string content = numericContent(*field);
  std::string_view digits = content;
  const bool negative = !digits.empty() && digits.front() == '-';
  if (!digits.empty() && isSign(digits.front())) digits.remove_prefix(1);
  for (char c : digits) {
    if (!isDigit(c)) throw runTimeFault(kIllegalCharacter, kReadingOperation);
  }
  if (digits.empty()) return 0;
  // Ten digits at most: the value always fits in 64 bits.
  std::int64_t value = 0;
  std::from_chars(digits.data(), digits.data() + digits.size(), value);
  return negative ? -value : value;
}

}  // namespace talvik
