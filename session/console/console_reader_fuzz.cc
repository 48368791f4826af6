// Fuzzes the typed-answer reads: every field kind on any typed lines.
//
// Input: one byte that chooses the field kind of each read (two bits per
// read, cycling through the byte), then the keyboard's bytes. Every line is
// read, and then two reads more meet the end of input. Each read is compared
// with the field cut from the same line here.

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <optional>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "analysis/number_characters.h"
#include "session/console/console_reader.h"
#include "session/console/fault.h"

namespace talvik {
namespace {

constexpr char kEndOfInput[] = "Attempt to read past end of file";
constexpr char kIllegalCharacter[] = "Illegal character in numeric input";

void check(bool holds, const char* what) {
  if (holds) return;
  std::fprintf(stderr, "console_reader_fuzz: %s\n", what);
  std::abort();
}

// The typed lines: split at line feeds; a last line without one counts.
std::vector<std::string_view> typedLines(std::string_view keyboard) {
  std::vector<std::string_view> lines;
  while (!keyboard.empty()) {
    const std::size_t end = keyboard.find('\n');
    lines.push_back(keyboard.substr(0, end));
    if (end == std::string_view::npos) break;
    keyboard.remove_prefix(end + 1);
  }
  return lines;
}

// The first `width` columns of a line, carriage returns dropped and tabs
// expanded to stops every 8 columns, filled up with blanks.
std::string expectedField(std::string_view line, int width) {
  std::string expanded;
  for (char c : line) {
    if (c == '\r') continue;
    if (c == '\t') {
      expanded.append(8 - expanded.size() % 8, ' ');
    } else {
      expanded.push_back(c);
    }
  }
  expanded.resize(static_cast<std::size_t>(width), ' ');
  return expanded;
}

// A numeric field's characters: up to the first comma, blanks left out.
std::string numericContent(const std::string& field) {
  std::string content;
  for (char c : field.substr(0, field.find(','))) {
    if (c != ' ') content.push_back(c);
  }
  return content;
}

struct ExpectedReal {
  bool readable = false;
  double value = 0.0;
};

// The real field: a sign, then I (infinity) or N (not-a-number) with anything
// after it; or digits with at most one point, then optionally an exponent
// start (E, D or Q with an optional sign, or a sign alone) that needs a
// mantissa digit before it and only digits after it.
ExpectedReal expectedReal(std::string_view content) {
  bool negative = false;
  if (!content.empty() && isSign(content.front())) {
    negative = content.front() == '-';
    content.remove_prefix(1);
  }
  if (!content.empty()) {
    const char first = content.front();
    if (first == 'I' || first == 'i') {
      const double infinity = std::numeric_limits<double>::infinity();
      return {true, negative ? -infinity : infinity};
    }
    if (first == 'N' || first == 'n') {
      return {true, std::numeric_limits<double>::quiet_NaN()};
    }
  }
  std::size_t end = 0;
  int points = 0;
  bool digit = false;
  while (end < content.size() &&
         (isDigit(content[end]) || content[end] == '.')) {
    if (content[end] == '.') ++points;
    if (isDigit(content[end])) digit = true;
    ++end;
  }
  if (points > 1) return {};
  std::string number(negative ? "-" : "");
  number += digit ? std::string(content.substr(0, end)) : "0";
  number += 'e';
  content.remove_prefix(end);
  if (!content.empty()) {
    if (!digit) return {};
    const char start = content.front();
    content.remove_prefix(1);
    if (std::string_view("EeDdQq").find(start) != std::string_view::npos) {
      if (!content.empty() && isSign(content.front())) {
        number += content.front();
        content.remove_prefix(1);
      }
    } else if (isSign(start)) {
      number += start;
    } else {
      return {};
    }
    for (char c : content) {
      if (!isDigit(c)) return {};
    }
  }
  number += content.empty() ? "0" : std::string(content);
  return {true, std::strtod(number.c_str(), nullptr)};
}

bool sameDouble(double a, double b) {
  if (std::isnan(a) || std::isnan(b)) return std::isnan(a) && std::isnan(b);
  return std::memcmp(&a, &b, sizeof a) == 0;
}

void checkText(ConsoleReader& reader, int width,
               std::optional<std::string_view> line) {
  try {
    const std::string value = reader.readText(width);
    check(line.has_value(), "a text read past the end of input");
    check(value == expectedField(*line, width), "text field differs");
  } catch (const Fault& fault) {
    check(!line, "text read failed on a typed line");
    check(fault.cause == kEndOfInput, "wrong cause at the end of input");
  }
}

void checkReal(ConsoleReader& reader, std::optional<std::string_view> line) {
  using Kind = Answer<double>::Kind;
  const Answer<double> answer = reader.readReal();
  if (!line) {
    check(answer.kind == Kind::kEndOfInput, "real read past the end");
    return;
  }
  const ExpectedReal expected =
      expectedReal(numericContent(expectedField(*line, 7)));
  if (!expected.readable) {
    check(answer.kind == Kind::kUnreadable, "unreadable real accepted");
    return;
  }
  check(answer.kind == Kind::kValue, "readable real refused");
  check(sameDouble(answer.value, expected.value), "real value differs");
}

void checkWhole(ConsoleReader& reader, std::optional<std::string_view> line) {
  std::optional<std::string> cause;
  std::int64_t value = 0;
  try {
    value = reader.readWhole();
  } catch (const Fault& fault) {
    cause = fault.cause;
  }
  if (!line) {
    check(cause == kEndOfInput, "whole read past the end");
    return;
  }
  const std::string field = numericContent(expectedField(*line, 10));
  std::string_view content = field;
  const bool negative = !content.empty() && content.front() == '-';
  if (!content.empty() && isSign(content.front())) content.remove_prefix(1);
  for (char c : content) {
    if (!isDigit(c)) {
      check(cause == kIllegalCharacter, "illegal character not refused");
      return;
    }
  }
  check(!cause, "whole number refused");
  std::int64_t expected = 0;
  for (char c : content) expected = expected * 10 + (c - '0');
  check(value == (negative ? -expected : expected), "whole value differs");
}

}  // namespace
}  // namespace talvik

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data,
                                      std::size_t size) {
  if (size < 1) return 0;
  const unsigned kinds = data[0];
  const std::string typed(reinterpret_cast<const char*>(data) + 1, size - 1);
  const std::vector<std::string_view> lines = talvik::typedLines(typed);
  std::istringstream keyboard(typed);
  talvik::ConsoleReader reader(keyboard);
  for (std::size_t read = 0; read < lines.size() + 2; ++read) {
    const std::optional<std::string_view> line =
        read < lines.size() ? std::optional(lines[read]) : std::nullopt;
    switch ((kinds >> (2 * (read % 4))) & 3) {
      case 0:
        talvik::checkText(reader, 1, line);
        break;
      case 1:
        talvik::checkText(reader, 12, line);
        break;
      case 2:
        talvik::checkReal(reader, line);
        break;
      case 3:
        talvik::checkWhole(reader, line);
        break;
    }
  }
  return 0;
}
