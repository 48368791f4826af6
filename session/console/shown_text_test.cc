#include "session/console/shown_text.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>

namespace talvik {
namespace {

TEST(ShownText, ShowsControlBytesAsUpperCaseHex) {
  EXPECT_EQ(shownText(std::string_view("a\0b", 3)), "a\\x00b");
  EXPECT_EQ(shownText("\x1B[2J"), "\\x1B[2J");
  EXPECT_EQ(shownText("one\ntwo\r\n"), "one\\x0Atwo\\x0D\\x0A");
  EXPECT_EQ(shownText("\t\x1F\x7F"), "\\x09\\x1F\\x7F");
  // The printable ends of ASCII stay.
  EXPECT_EQ(shownText(" ~\\"), " ~\\");
}

TEST(ShownText, KeepsUtf8AndOtherHighBytesAsTheyStand) {
  EXPECT_EQ(shownText("caf\xC3\xA9 \xE6\x97\xA5"), "caf\xC3\xA9 \xE6\x97\xA5");
  EXPECT_EQ(shownText("\x80\xA0\xE9\xFF"), "\x80\xA0\xE9\xFF");
}

TEST(ShownText, CutsTextBeyondMaxBytes) {
  EXPECT_EQ(shownText("sites37.txt", 11), "sites37.txt");
  EXPECT_EQ(shownText("sites37.txt", 10), "sites37.tx...");
  EXPECT_EQ(shownText("", 0), "");
  EXPECT_EQ(shownText("a", 0), "...");
  // The bytes are counted before they are shown: a control byte within the
  // limit is shown whole, one beyond it is not shown.
  EXPECT_EQ(shownText("ab\x1B", 3), "ab\\x1B");
  EXPECT_EQ(shownText("ab\x1B", 2), "ab...");
  const std::string longText(10000, 'x');
  EXPECT_EQ(shownText(longText), longText);
}

}  // namespace
}  // namespace talvik
