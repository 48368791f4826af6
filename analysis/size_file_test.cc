#include "analysis/size_file.h"

#include <gtest/gtest.h>
#include <malloc.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <iterator>
#include <limits>
#include <new>
#include <optional>
#include <random>
#include <string>
#include <utility>
#include <vector>

// The heap in use, counted so that a test can show that reading a huge line
// takes no more memory than the read buffer and a few KiB.
namespace {
std::size_t heapBytes = 0;
std::size_t peakHeapBytes = 0;

// The bytes that the C library gave a block.
std::size_t blockSize(void* block) noexcept {
#ifdef _WIN32
  return _msize(block);
#else
  return malloc_usable_size(block);
#endif
}

void* allocate(std::size_t size) noexcept {
  void* block = std::malloc(size == 0 ? 1 : size);
  if (block != nullptr) {
    heapBytes += blockSize(block);
    peakHeapBytes = std::max(peakHeapBytes, heapBytes);
  }
  return block;
}

void* allocateOrThrow(std::size_t size) {
  void* block = allocate(size);
  if (block == nullptr) throw std::bad_alloc();
  return block;
}

void release(void* block) noexcept {
  if (block == nullptr) return;
  heapBytes -= blockSize(block);
  std::free(block);
}
}  // namespace

void* operator new(std::size_t size) { return allocateOrThrow(size); }
void* operator new[](std::size_t size) { return allocateOrThrow(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
  return allocate(size);
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
  return allocate(size);
}
void operator delete(void* block) noexcept { release(block); }
void operator delete[](void* block) noexcept { release(block); }
void operator delete(void* block, std::size_t) noexcept { release(block); }
void operator delete[](void* block, std::size_t) noexcept { release(block); }
void operator delete(void* block, const std::nothrow_t&) noexcept {
  release(block);
}
void operator delete[](void* block, const std::nothrow_t&) noexcept {
  release(block);
}

namespace talvik {
namespace {

using Ending = SizeFileReading::Ending;

constexpr float kInfinity = std::numeric_limits<float>::infinity();
constexpr std::size_t kMiB = 1024 * 1024;

// Hands out a text in pieces of at most `piece` bytes; at its end it reports
// the end of the file, or a refusal of the operating system.
class TextSource : public ByteSource {
 public:
  TextSource(std::string text, std::size_t piece, bool failsAtEnd = false)
      : text_(std::move(text)), piece_(piece), failsAtEnd_(failsAtEnd) {}

  std::optional<std::size_t> read(char* buffer, std::size_t capacity) override {
    if (position_ == text_.size() && failsAtEnd_) return std::nullopt;
    const std::size_t count =
        std::min({capacity, piece_, text_.size() - position_});
    std::copy_n(text_.data() + position_, count, buffer);
    position_ += count;
    return count;
  }

 private:
  std::string text_;
  std::size_t piece_;
  bool failsAtEnd_;
  std::size_t position_ = 0;
};

// A text made of stretches, each a pattern repeated, generated as it is read.
struct Stretch {
  std::string pattern;
  std::size_t times = 1;
};

class GeneratedSource : public ByteSource {
 public:
  explicit GeneratedSource(std::vector<Stretch> stretches)
      : stretches_(std::move(stretches)) {}

  std::optional<std::size_t> read(char* buffer, std::size_t capacity) override {
    std::size_t count = 0;
    while (count < capacity && stretch_ < stretches_.size()) {
      const Stretch& stretch = stretches_[stretch_];
      const std::size_t length = stretch.pattern.size() * stretch.times;
      if (done_ == length) {
        ++stretch_;
        done_ = 0;
        continue;
      }
      const std::size_t offset = done_ % stretch.pattern.size();
      const std::size_t n = std::min(
          {capacity - count, stretch.pattern.size() - offset, length - done_});
      std::copy_n(stretch.pattern.data() + offset, n, buffer + count);
      count += n;
      done_ += n;
    }
    return count;
  }

 private:
  std::vector<Stretch> stretches_;
  std::size_t stretch_ = 0;
  std::size_t done_ = 0;
};

// Ten MiB of one character.
Stretch tenMiBOf(char c) { return {std::string(1024, c), 10 * 1024}; }

std::vector<std::uint32_t> bitsOf(const std::vector<float>& values) {
  std::vector<std::uint32_t> bits;
  for (const float value : values) {
    bits.push_back(std::bit_cast<std::uint32_t>(value));
  }
  return bits;
}

constexpr std::size_t kPieces[] = {1, 2, 3, 7};

// Reads the text handed out whole and in small pieces, which must all agree.
SizeFileReading readText(const std::string& text) {
  TextSource whole(text, text.size() + 1);
  const SizeFileReading reading = readSettlementSizes(whole);
  for (const std::size_t piece : kPieces) {
    TextSource source(text, piece);
    const SizeFileReading again = readSettlementSizes(source);
    EXPECT_EQ(again.ending, reading.ending)
        << text << " in pieces of " << piece;
    EXPECT_EQ(bitsOf(again.sizes), bitsOf(reading.sizes))
        << text << " in pieces of " << piece;
    EXPECT_EQ(again.endingLine, reading.endingLine) << text;
    EXPECT_EQ(again.doubts, reading.doubts) << text;
  }
  return reading;
}

// The heap may grow by the 64 KiB read buffer and a few KiB more.
constexpr std::size_t kHeapAllowance = 72 * 1024;

SizeFileReading readWatchingHeap(std::vector<Stretch> stretches) {
  GeneratedSource source(std::move(stretches));
  const std::size_t before = heapBytes;
  peakHeapBytes = heapBytes;
  SizeFileReading reading = readSettlementSizes(source);
  EXPECT_LE(peakHeapBytes - before, kHeapAllowance);
  return reading;
}

std::string lines(int count, const std::string& line) {
  std::string text;
  for (int i = 0; i < count; ++i) text += line + "\n";
  return text;
}

struct SizesCase {
  std::string text;
  std::vector<float> sizes;
};

TEST(ReadSettlementSizes, LinesGiveTheirFirstValueInFileOrder) {
  const SizesCase cases[] = {
      {"5\n-3\n0\n7\n", {5, -3, 0, 7}},
      {"120 340\n", {120}},
      {"1,234\n", {1}},
      {"5/6\n", {5}},
      {"3*150\n", {150}},
      {"   7.5E2\n", {750}},
      {"1.5-3\n", {0.0015f}},
      {"\t\t7\t8\n\t 9\n", {7, 9}},
      {"4 Size 12a\n5\n", {4, 5}},
      {"-0\n", {-0.0f}},
      {"1e400\n-1e400\n1e-400\n", {kInfinity, -kInfinity, 0}},
      {"42", {42}},
      {"5\n6", {5, 6}},
      {"\n\n  \n\t\n5\n\n \t \n6\n\n\n", {5, 6}},
      {"5\r\n6\r\n", {5, 6}},
      {"\r\n\r\r\n 5\r", {5}},
      {"1\r2\n", {12}},
      {"\t5\r\t6\n", {5}},
  };
  for (const SizesCase& c : cases) {
    const SizeFileReading reading = readText(c.text);
    EXPECT_EQ(reading.ending, Ending::kSizesRead) << c.text;
    EXPECT_EQ(bitsOf(reading.sizes), bitsOf(c.sizes)) << c.text;
  }
}

TEST(ReadSettlementSizes, RepeatCountIsPassedOverAndItsValueSoughtAfterIt) {
  const SizesCase cases[] = {
      {"3*150 7\n8\n", {150, 8}},
      {"3* 150\n", {150}},
      {"3*\n\n  \t\n 150 9\n7\n", {150, 7}},
      {"*5\n", {5}},
      {"abc*5\n", {5}},
      {"Inf*5\n", {5}},
      {"3*,\n7\n", {0, 7}},
      {"3*\n/\n7\n", {0, 7}},
      {"5\n3*\n", {5}},
  };
  for (const SizesCase& c : cases) {
    const SizeFileReading reading = readText(c.text);
    EXPECT_EQ(reading.ending, Ending::kSizesRead) << c.text;
    EXPECT_EQ(bitsOf(reading.sizes), bitsOf(c.sizes)) << c.text;
  }
}

TEST(ReadSettlementSizes, LineBeginningWithCommaOrSlashCountsAsSizeZero) {
  const SizeFileReading reading = readText(",\n5\n  /\n\t, 9\n/7\n");
  EXPECT_EQ(reading.ending, Ending::kSizesRead);
  EXPECT_EQ(bitsOf(reading.sizes), bitsOf({0, 5, 0, 0, 0}));
}

TEST(ReadSettlementSizes, EmptyOrBlankFileGivesNoSizes) {
  for (const char* text : {"", "\n", "\n\n  \t \n\r\n", " "}) {
    const SizeFileReading reading = readText(text);
    EXPECT_EQ(reading.ending, Ending::kSizesRead) << text;
    EXPECT_TRUE(reading.sizes.empty()) << text;
  }
}

TEST(ReadSettlementSizes, HeadingNumberIsReadAsNaNAndCounted) {
  const SizeFileReading reading = readText("Number\n5\n");
  EXPECT_EQ(reading.ending, Ending::kSizesRead);
  ASSERT_EQ(reading.sizes.size(), 2u);
  EXPECT_TRUE(std::isnan(reading.sizes[0]));
  EXPECT_EQ(reading.sizes[1], 5.0f);
}

TEST(ReadSettlementSizes, ValueThatIsNoNumberEndsWithReadError) {
  const std::string texts[] = {
      "Size\n5\n",
      "5\n12a\n6\n",
      "1.2.3\n",
      "\xEF\xBB\xBF"
      "5\n",
      "5\n6\n\x1A\n",
      "5\n6\n\x1A",
      "5E\n",
      ".\n",
      "+ 5\n",
      "3*4*5\n",
      "3*abc\n",
      "5\f\n",
      std::string("5\n\0\n", 4),
  };
  for (const std::string& text : texts) {
    const SizeFileReading reading = readText(text);
    EXPECT_EQ(reading.ending, Ending::kReadError) << text;
    EXPECT_TRUE(reading.sizes.empty()) << text;
  }
}

TEST(ReadSettlementSizes, ThousandValuesAreAccepted) {
  for (const std::string& text :
       {lines(1000, "5"), lines(1000, "5") + "\n \n", lines(999, "5") + "5"}) {
    const SizeFileReading reading = readText(text);
    EXPECT_EQ(reading.ending, Ending::kSizesRead);
    EXPECT_EQ(reading.sizes, std::vector<float>(1000, 5.0f));
  }
}

TEST(ReadSettlementSizes, ThousandAndFirstValueEndsWithTooManyWhateverFollows) {
  for (const std::string& text :
       {lines(1001, "5"), lines(1001, "5") + "Size\n", lines(1000, "5") + ",",
        lines(1000, "5") + "Number\n\x1A", lines(2000, "5")}) {
    const SizeFileReading reading = readText(text);
    EXPECT_EQ(reading.ending, Ending::kTooManySizes);
    EXPECT_TRUE(reading.sizes.empty());
  }
}

TEST(ReadSettlementSizes, BadLineAfterThousandValuesIsAReadError) {
  const SizeFileReading reading = readText(lines(1000, "5") + "Size\n");
  EXPECT_EQ(reading.ending, Ending::kReadError);
  EXPECT_TRUE(reading.sizes.empty());
}

TEST(ReadSettlementSizes, RefusalOfTheSystemIsAReadError) {
  for (const char* text : {"", "5\n6\n", "5\n6 ab", "5\n6"}) {
    for (const std::size_t piece : kPieces) {
      TextSource source(text, piece, /*failsAtEnd=*/true);
      const SizeFileReading reading = readSettlementSizes(source);
      EXPECT_EQ(reading.ending, Ending::kReadError) << text;
      EXPECT_TRUE(reading.sizes.empty()) << text;
    }
  }
}

TEST(ReadSettlementSizes, RefusalAfterTheThousandAndFirstValueIsNeverMet) {
  TextSource source(lines(1000, "5") + "6 ab", 100, /*failsAtEnd=*/true);
  EXPECT_EQ(readSettlementSizes(source).ending, Ending::kTooManySizes);
}

TEST(ReadSettlementSizes, HugeLinesAreStreamedInBoundedMemory) {
  struct HugeCase {
    const char* name;
    std::vector<Stretch> stretches;
    std::vector<float> sizes;
  };
  const HugeCase cases[] = {
      {"digits", {tenMiBOf('1'), {"\n7\n"}}, {kInfinity, 7}},
      {"value then junk", {{"1"}, {" x,y/z*\t9 ", kMiB}, {"\n7\n"}}, {1, 7}},
      {"leading blanks", {tenMiBOf(' '), {"5\n"}}, {5}},
      {"blank lines", {{"\r\n \t\n", 2 * kMiB}, {"5"}}, {5}},
      {"integer with exponent", {{"1"}, tenMiBOf('0'), {"E-10485760"}}, {1}},
      {"fraction with exponent",
       {{"-0."}, tenMiBOf('0'), {"15E10485761"}},
       {-1.5f}},
      {"exponent digits", {{"3E"}, tenMiBOf('0'), {"2\n"}}, {300}},
      {"zeros", {{"0."}, tenMiBOf('0'), {"E999"}}, {0}},
      {"repeat count", {tenMiBOf('9'), {"*\n8"}}, {8}},
  };
  for (const HugeCase& c : cases) {
    const SizeFileReading reading = readWatchingHeap(c.stretches);
    EXPECT_EQ(reading.ending, Ending::kSizesRead) << c.name;
    EXPECT_EQ(bitsOf(reading.sizes), bitsOf(c.sizes)) << c.name;
  }
}

TEST(ReadSettlementSizes, HugeValueWithABadCharacterIsAReadError) {
  for (const Stretch& last :
       {Stretch{"a"}, Stretch{"."}, Stretch{"E"}, Stretch{"-1.5"}}) {
    EXPECT_EQ(readWatchingHeap({{"5\n"}, {"0."}, tenMiBOf('1'), last}).ending,
              Ending::kReadError)
        << last.pattern;
  }
}

// Lines read as the rules say, flagged where a spreadsheet's writer may have
// meant something else; line ends CR LF or LF alike.
TEST(ReadSettlementSizes, DoubtfulLinesAreNamedWithTheirLines) {
  using Kind = SizeFileDoubt::Kind;
  const SizeFileReading reading = readText(
      "Number\r\n"      // 1: a heading, read as not-a-number
      "16,395\r\n"      // 2: a thousands separator
      "1,234,567\n"     // 3
      "12.5 ha\n"       // 4: text after the value
      "\n"              // 5: blank, passed over
      ",7\n"            // 6: a size of 0
      "3*150\n"         // 7: a repeat count
      "0\n"             // 8
      "-4.5  \n"        // 9: trailing blanks are no news
      "20,\n"           // 10: text (a comma) after the value
      "16,3950\n"       // 11: four digits are no group
      "INF 12 words\n"  // 12: a word; the rest is no news
      "2*\n"            // 13: the count, then the value below
      "88 /\n");        // 14
  EXPECT_EQ(reading.ending, Ending::kSizesRead);
  EXPECT_EQ(reading.endingLine, 0);
  EXPECT_EQ(reading.sizes.size(), 12u);
  EXPECT_EQ(reading.doubts, (std::vector<SizeFileDoubt>{
                                {1, Kind::kWordAsValue},
                                {2, Kind::kThousandsSeparator},
                                {3, Kind::kThousandsSeparator},
                                {4, Kind::kTextAfterValue},
                                {6, Kind::kEmptyValue},
                                {7, Kind::kRepeatCount},
                                {8, Kind::kNotPositive},
                                {9, Kind::kNotPositive},
                                {10, Kind::kTextAfterValue},
                                {11, Kind::kTextAfterValue},
                                {12, Kind::kWordAsValue},
                                {13, Kind::kRepeatCount},
                                {14, Kind::kTextAfterValue},
                            }));
}

TEST(ReadSettlementSizes, EndingLineNamesTheBadValueOrTheThousandAndFirst) {
  EXPECT_EQ(readText("5\r\n\r\n6\r\n7x\r\n8\r\n").endingLine, 4);
  EXPECT_EQ(readText("5\n3*\n\n1e\n").endingLine, 4);
  std::string many;
  for (int i = 0; i < 1001; ++i) {
    many += '\n';
    many += std::to_string(i + 1);
  }
  const SizeFileReading tooMany = readText(many);
  EXPECT_EQ(tooMany.ending, Ending::kTooManySizes);
  EXPECT_EQ(tooMany.endingLine, 1002);
}

// Every value, in file order, with the same doubts and the same read error
// as the reading limited to 1001 values.
TEST(ReadEverySettlementSize, AgreesWithTheLimitedReadingAndGoesOnPastIt) {
  std::string text = "Number\n16,395\n,7\n3*150\n0\n";
  for (int i = 1; i <= 2500; ++i) text += std::to_string(i) + "\n";
  const std::string limitedText = text.substr(0, text.find("\n996\n") + 1);
  const SizeFileReading limited = readText(limitedText);
  ASSERT_EQ(limited.sizes.size(), 1000u);
  for (const std::string& whole : {limitedText, text, text + "5x\n6\n"}) {
    TextSource source(whole, 7);
    std::vector<float> taken;
    std::vector<SizeFileDoubt> doubts;
    const SizeFileReading every = readEverySettlementSize(
        source,
        [&taken](const SizeFileValue& value) {
          taken.push_back(value.size);
          return true;
        },
        [&doubts](const SizeFileDoubt& doubt) { doubts.push_back(doubt); });
    EXPECT_TRUE(every.sizes.empty());
    EXPECT_TRUE(every.doubts.empty());
    ASSERT_GE(taken.size(), 1000u);
    EXPECT_EQ(bitsOf(std::vector<float>(taken.begin(), taken.begin() + 1000)),
              bitsOf(limited.sizes));
    EXPECT_EQ(doubts, limited.doubts);
    if (whole == limitedText) continue;
    EXPECT_EQ(taken.size(), 2505u);
    EXPECT_EQ(taken.back(), 2500.0f);
    const bool bad = whole.size() > text.size();
    EXPECT_EQ(every.ending, bad ? Ending::kReadError : Ending::kSizesRead);
    EXPECT_EQ(every.endingLine, bad ? 2506 : 0);
  }
}

// Each value comes with its line and whether a word gave it, and the reading
// stops at the first value refused; however many doubts a file raises, none
// is kept.
TEST(ReadEverySettlementSize, TellsWordsFromDigitsAndStopsWhereAsked) {
  TextSource source("7\nINF\n\n1e39\n-0\n8\n9\n", 3);
  std::vector<SizeFileValue> taken;
  std::vector<SizeFileDoubt> doubts;
  const SizeFileReading reading = readEverySettlementSize(
      source,
      [&taken](const SizeFileValue& value) {
        taken.push_back(value);
        return taken.size() < 5;
      },
      [&doubts](const SizeFileDoubt& doubt) { doubts.push_back(doubt); });
  EXPECT_EQ(reading.ending, Ending::kSizesRead);
  ASSERT_EQ(taken.size(), 5u);
  const int lines[] = {1, 2, 4, 5, 6};
  for (std::size_t i = 0; i < taken.size(); ++i) {
    EXPECT_EQ(taken[i].line, lines[i]);
    EXPECT_EQ(taken[i].word, i == 1) << i;
  }
  EXPECT_EQ(taken[1].size, kInfinity);
  EXPECT_EQ(taken[2].size, kInfinity);
  EXPECT_EQ(doubts, (std::vector<SizeFileDoubt>{
                        {2, SizeFileDoubt::Kind::kWordAsValue},
                        {5, SizeFileDoubt::Kind::kNotPositive}}));

  // After a repeat count too.
  TextSource counted("2*NaN x\n3*\n1e39\n", 2);
  std::vector<bool> words;
  readEverySettlementSize(
      counted,
      [&words](const SizeFileValue& value) {
        words.push_back(value.word);
        return true;
      },
      [](const SizeFileDoubt&) {});
  EXPECT_EQ(words, (std::vector<bool>{true, false}));

  // A million doubtful lines, generated as they are read.
  GeneratedSource zeros({{"0\n", 1000000}});
  std::size_t doubtCount = 0;
  const SizeFileReading many = readEverySettlementSize(
      zeros, [](const SizeFileValue&) { return true; },
      [&doubtCount](const SizeFileDoubt&) { ++doubtCount; });
  EXPECT_EQ(doubtCount, 1000000u);
  EXPECT_TRUE(many.doubts.empty());
  EXPECT_LE(many.doubts.capacity(), 4u);
}

}  // namespace
}  // namespace talvik
