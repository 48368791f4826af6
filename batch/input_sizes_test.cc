#include "batch/input_sizes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace talvik {
namespace {

// A first line, then a text repeated `times` times, made as it is read.
class RepeatedSource : public ByteSource {
 public:
  RepeatedSource(std::string firstLine, std::string text, std::size_t times)
      : firstLine_(std::move(firstLine)),
        text_(std::move(text)),
        left_(text_.size() * times) {}

  std::optional<std::size_t> read(char* buffer, std::size_t capacity) override {
    if (!firstLine_.empty()) {
      const std::size_t count = std::min(capacity, firstLine_.size());
      std::copy_n(firstLine_.begin(), count, buffer);
      firstLine_.erase(0, count);
      return count;
    }
    const std::size_t count = std::min(capacity, left_);
    for (std::size_t i = 0; i < count; ++i) {
      buffer[i] = text_[offset_];
      offset_ = (offset_ + 1) % text_.size();
    }
    left_ -= count;
    return count;
  }

 private:
  std::string firstLine_;
  std::string text_;
  std::size_t left_;
  std::size_t offset_ = 0;
};

InputSizes readText(const std::string& text, const SizeReadingRules& rules) {
  RepeatedSource source("", text, 1);
  return readInputSizes(source, rules);
}

std::vector<std::int64_t> linesOf(const std::vector<FileMessage>& messages) {
  std::vector<std::int64_t> lines;
  for (const FileMessage& message : messages) lines.push_back(message.line);
  return lines;
}

CsvLayout columnNamed(std::string name) {
  CsvLayout layout;
  layout.header = true;
  layout.columnName = std::move(name);
  return layout;
}

// However many lines are doubtful, a file keeps the first 20 messages about
// lines and counts the others; with --largest those whose sizes the cut
// removes are only summed up.
TEST(InputSizes, KeepsTheFirstTwentyMessagesOfAFileAndCountsTheRest) {
  constexpr std::size_t kLines = 1000000;
  for (const bool csv : {false, true}) {
    SizeReadingRules rules;
    rules.largest = true;
    if (csv) rules.csv = columnNamed("pop");
    RepeatedSource zeros(csv ? "pop\n" : "", "0\n", kLines);
    const InputSizes input = readInputSizes(zeros, rules);
    ASSERT_EQ(input.warnings.size(), kKeptFileMessages + 2) << csv;
    const std::int64_t first = csv ? 2 : 1;  // after the header
    EXPECT_EQ(input.warnings[0].text,
              "1000000 sizes read: the largest 1000 analysed (--largest)");
    EXPECT_EQ(input.warnings[1].text,
              "warnings about 999000 lines not shown (the first: line " +
                  std::to_string(first + 1000) +
                  "): their sizes are not among the largest 1000 analysed "
                  "(--largest)");
    EXPECT_EQ(input.warnings[2].line, first);
    EXPECT_EQ(input.warnings.back().line, first + 19);
    EXPECT_EQ(input.unkeptWarnings, 980);
    EXPECT_EQ(input.sizesRead, static_cast<std::int64_t>(kLines));
    EXPECT_EQ(input.unusable.zero, static_cast<std::int64_t>(kLines));
    EXPECT_TRUE(input.errors.empty());
    EXPECT_EQ(input.observed.size(), 1000u);
  }
  SizeReadingRules strict;
  strict.largest = true;
  strict.strict = true;
  RepeatedSource zeros("", "0\n", kLines);
  const InputSizes refused = readInputSizes(zeros, strict);
  EXPECT_EQ(refused.errors.size(), kKeptFileMessages);
  EXPECT_EQ(refused.unkeptErrors, static_cast<std::int64_t>(kLines) - 20);
  EXPECT_TRUE(refused.warnings.empty());
  EXPECT_TRUE(refused.observed.empty());
}

// Missing values are left out with a warning each; a file whose sizes look
// grouped by points is told so first, beside the 20 line warnings kept.
TEST(InputSizes, MissingValuesAndSizesThatLookGrouped) {
  SizeReadingRules rules;
  rules.csv = columnNamed("pop");
  RepeatedSource missing("pop\n1.361\n2.500\n3.125\n4.000\n5.750\n", "NA\n",
                         25);
  const InputSizes input = readInputSizes(missing, rules);
  ASSERT_EQ(input.warnings.size(), kKeptFileMessages + 1);
  EXPECT_EQ(input.warnings[0].line, 0);
  EXPECT_EQ(input.warnings[0].text.substr(0, 46),
            "all 5 sizes have three digits after a point, a");
  EXPECT_EQ(input.warnings[1].line, 7);
  EXPECT_EQ(input.warnings[1].text,
            "no size in column 1 (\"pop\"): \"NA\" marks a missing value");
  EXPECT_EQ(input.unkeptWarnings, 5);
  EXPECT_EQ(input.observed.size(), 5u);

  rules.strict = true;
  const InputSizes strict = readText("site,pop\na,5\n\nb,\"\"\n", rules);
  EXPECT_EQ(linesOf(strict.errors), (std::vector<std::int64_t>{4}));
  EXPECT_EQ(strict.errors[0].text,
            "no size in column 2 (\"pop\"): the cell is empty");
  EXPECT_TRUE(strict.observed.empty());
}

// A number beyond the single-precision range is read as infinity, as the
// dialogue reads it, but doubtfully, as a word read as infinity is.
TEST(InputSizes, DigitsBeyondSinglePrecisionAreDoubtful) {
  const std::string beyond =
      "a number beyond the single-precision range (about 3.4E38) is read as "
      "infinity";
  const InputSizes plain =
      readText("5\n1e39\nINF\n3.4e38\n3.5e38\n-1e39\n", {});
  EXPECT_EQ(linesOf(plain.warnings), (std::vector<std::int64_t>{2, 3, 5, 6}));
  EXPECT_EQ(plain.warnings[0].text, beyond);
  EXPECT_EQ(plain.warnings[1].text,
            "a word read as infinity or not-a-number (a heading?)");
  EXPECT_EQ(plain.warnings[2].text, beyond);
  EXPECT_EQ(plain.observed.size(), 6u);

  SizeReadingRules csv;
  csv.csv = columnNamed("pop");
  // The largest float, written out, is no doubt.
  const InputSizes cells =
      readText("pop\n7\n1e39\n340282346638528859811704183484516925440\n", csv);
  EXPECT_EQ(linesOf(cells.warnings), (std::vector<std::int64_t>{3}));
  EXPECT_EQ(cells.warnings[0].text, beyond);

  csv.strict = true;
  const InputSizes strict = readText("pop\n7\n1e39\n", csv);
  EXPECT_EQ(linesOf(strict.errors), (std::vector<std::int64_t>{3}));
  EXPECT_TRUE(strict.observed.empty());
}

// Without --largest a 1001st size refuses the file, with the doubts found
// up to it.
TEST(InputSizes, AThousandAndFirstSizeRefusesThePlainFile) {
  std::string text = "0\n";
  for (int i = 1; i <= 1000; ++i) text += std::to_string(i) + "\n";
  const InputSizes input = readText(text, {});
  EXPECT_EQ(linesOf(input.warnings), (std::vector<std::int64_t>{1}));
  ASSERT_EQ(input.errors.size(), 1u);
  EXPECT_EQ(input.errors[0].line, 1001);
  EXPECT_TRUE(input.observed.empty());
}

}  // namespace
}  // namespace talvik
