#include "plot/chart_labels.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace talvik {
namespace {

TEST(MiddleShortened, KeepsTheStartAndTheLongerEndBetweenCharacters) {
  EXPECT_EQ(middleShortened("abcdefgh", 8), "abcdefgh");
  EXPECT_EQ(middleShortened("abcdefghij", 8),
            "abc\xE2\x80\xA6"
            "ghij");
  std::string e10;
  for (int i = 0; i < 10; ++i) e10 += "\xC3\xA9";
  EXPECT_EQ(middleShortened(e10, 5),
            "\xC3\xA9\xC3\xA9\xE2\x80\xA6\xC3\xA9\xC3\xA9");
}

TEST(ShownLabels, ShortenLessWhereTwoWouldReadAlike) {
  const std::string start(30, 's');
  const std::string end(30, 'e');
  std::vector<ChartRow> rows = {{start + "1" + end, 0.0, {}, 1},
                                {start + "2" + end, 0.0, {}, 1},
                                {"short.txt", 0.0, {}, 1}};
  const std::vector<std::string> shown = shownLabels(rows);
  ASSERT_EQ(shown.size(), 3u);
  EXPECT_NE(shown[0], shown[1]);
  EXPECT_EQ(shown[0], rows[0].label);  // 61 characters, apart only uncut
  EXPECT_EQ(shown[2], "short.txt");
  rows[1].label = std::string(80, 'x');
  EXPECT_EQ(characterCount(shownLabels(rows)[1]), kMaxLabelCharacters);
}

TEST(NotAnalysedNote, NamesWhatFitsAndCountsTheRest) {
  const std::vector<std::string> none;
  EXPECT_EQ(notAnalysedNote(none, 80), "");
  const std::vector<std::string> names = {"a.txt", "b.txt", "c.txt"};
  EXPECT_EQ(notAnalysedNote(names, 80), "Not analysed: a.txt, b.txt, c.txt");
  EXPECT_EQ(notAnalysedNote(names, 34), "Not analysed: a.txt and 2 more");
}

}  // namespace
}  // namespace talvik
