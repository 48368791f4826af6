#include "session/console/level_text.h"

#include <optional>
#include <string>

#include "gtest/gtest.h"

namespace talvik {
namespace {

TEST(LevelFromText, WholeNumbersFromOneTo99LeadingZerosAllowed) {
  EXPECT_EQ(levelFromText("1"), 1);
  EXPECT_EQ(levelFromText("90"), 90);
  EXPECT_EQ(levelFromText("99"), 99);
  EXPECT_EQ(levelFromText("099"), 99);
  EXPECT_EQ(levelFromText("0000000000000000000007"), 7);
}

TEST(LevelFromText, EverythingElseIsRefused) {
  for (const char* text :
       {"", "0", "00", "100", "0100", "+9", "-5", " 9", "9 ", "9x", "50.0",
        "1e1", "4294967386", "99999999999999999999999"}) {
    EXPECT_EQ(levelFromText(text), std::nullopt) << text;
  }
}

}  // namespace
}  // namespace talvik
