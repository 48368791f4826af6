#include "session/console/utf8_text.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>

namespace talvik {
namespace {

TEST(Utf8Text, MeasuresTheValidSequenceAtTheStart) {
  struct Case {
    std::string_view text;
    std::size_t length;
  };
  const Case cases[] = {
      {"a\xC3\xA9", 1},
      {std::string_view("\0x", 2), 1},
      {"\x7F", 1},
      {"\xC3\xA9t\xC3\xA9", 2},
      {"\xE6\x97\xA5", 3},
      {"\xF0\x9F\x97\xBA", 4},
      {"\xF4\x8F\xBF\xBF", 4},  // U+10FFFF, the last code point
      {"\xEF\xBF\xBF", 3},      // U+FFFF: UTF-8, if not an XML character
      {"\x80", 0},              // a stray continuation byte
      {"\xE9t", 0},             // Latin-1
      {"\xC0\xAF", 0},          // overlong
      {"\xC1\xBF", 0},
      {"\xE0\x9F\xBF", 0},
      {"\xF0\x8F\xBF\xBF", 0},
      {"\xED\xA0\x80", 0},      // a surrogate
      {"\xED\x9F\xBF", 3},      // the last code point before them
      {"\xF4\x90\x80\x80", 0},  // beyond U+10FFFF
      {"\xF5\x80\x80\x80", 0},
      {"\xE6\x97", 0},  // cut off
      {"\xF0\x9F\x97", 0},
      {"\xE6\x97x", 0},
      {"\xC3\xC3", 0},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(utf8SequenceLength(c.text), c.length)
        << testing::PrintToString(std::string(c.text));
  }
}

}  // namespace
}  // namespace talvik
