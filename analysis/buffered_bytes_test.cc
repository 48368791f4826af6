#include "analysis/buffered_bytes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <optional>
#include <random>
#include <string>
#include <utility>

namespace talvik {
namespace {

// Hands out a text in pieces of at most `piece` bytes, then ends or refuses;
// counts the reads asked of it.
class PieceSource : public ByteSource {
 public:
  PieceSource(std::string text, std::size_t piece, bool failsAtEnd = false)
      : text_(std::move(text)), piece_(piece), failsAtEnd_(failsAtEnd) {}

  std::optional<std::size_t> read(char* buffer, std::size_t capacity) override {
    ++reads_;
    if (position_ == text_.size() && failsAtEnd_) return std::nullopt;
    const std::size_t count =
        std::min({capacity, piece_, text_.size() - position_});
    std::copy_n(text_.data() + position_, count, buffer);
    position_ += count;
    return count;
  }

  int reads() const { return reads_; }

 private:
  std::string text_;
  std::size_t piece_;
  bool failsAtEnd_;
  std::size_t position_ = 0;
  int reads_ = 0;
};

TEST(BufferedBytes, HandsOutEveryByteUnsignedThenTheEnding) {
  PieceSource source("a\xFF\n", 2);
  BufferedBytes bytes(source, 2);
  EXPECT_EQ(bytes.next(), 'a');
  EXPECT_EQ(bytes.peek(), 0xFF);
  EXPECT_EQ(bytes.next(), 0xFF);
  EXPECT_EQ(bytes.next(), '\n');
  EXPECT_EQ(bytes.next(), BufferedBytes::kEndOfFile);
  EXPECT_EQ(bytes.peek(), BufferedBytes::kEndOfFile);
  EXPECT_EQ(bytes.next(), BufferedBytes::kEndOfFile);
}

TEST(BufferedBytes, ARefusalComesAfterTheBytesReadBeforeIt) {
  PieceSource source("12", 1, true);
  BufferedBytes bytes(source);
  EXPECT_EQ(bytes.next(), '1');
  EXPECT_EQ(bytes.next(), '2');
  EXPECT_EQ(bytes.peek(), BufferedBytes::kFailure);
  EXPECT_EQ(bytes.next(), BufferedBytes::kFailure);
  EXPECT_EQ(bytes.next(), BufferedBytes::kFailure);
  // A source that refused is not asked again.
  EXPECT_EQ(source.reads(), 3);
}

TEST(BufferedBytes, SkipsOnlyAWholeMatchAcrossReads) {
  PieceSource source("\xEF\xBB\xBFx", 1);
  BufferedBytes bytes(source, 3);
  EXPECT_FALSE(bytes.skipIfNext("\xEF\xBBx"));
  EXPECT_TRUE(bytes.skipIfNext("\xEF\xBB\xBF"));
  EXPECT_EQ(bytes.next(), 'x');

  PieceSource shortSource("\xEF\xBB", 1);
  BufferedBytes shortBytes(shortSource, 3);
  EXPECT_FALSE(shortBytes.skipIfNext("\xEF\xBB\xBF"));
  EXPECT_EQ(shortBytes.next(), 0xEF);
  EXPECT_EQ(shortBytes.next(), 0xBB);
  EXPECT_EQ(shortBytes.next(), BufferedBytes::kEndOfFile);
}

TEST(BufferedBytes, LinesCountTheLineEndsTakenNotThosePeekedAt) {
  PieceSource source("a\n\nb\n", 3);
  BufferedBytes bytes(source, 4);
  EXPECT_EQ(bytes.line(), 1);
  bytes.next();
  EXPECT_EQ(bytes.peek(), '\n');
  EXPECT_EQ(bytes.line(), 1);
  bytes.next();
  EXPECT_EQ(bytes.line(), 2);
  EXPECT_TRUE(bytes.skipIfNext("\nb\n"));
  EXPECT_EQ(bytes.line(), 4);
}

// Any mix of calls, any capacity and any pieces the source reads in give the
// bytes of the text in order, as a plain walk along the text would.
TEST(BufferedBytes, AgreesWithAWalkAlongTheText) {
  std::mt19937 random(20240611);
  for (int round = 0; round < 2000; ++round) {
    std::string text(random() % 40, '\0');
    for (char& c : text) c = "ab\n\xEF"[random() % 4];
    const std::size_t capacity = 1 + random() % 8;
    const bool failsAtEnd = random() % 2 == 0;
    PieceSource source(text, 1 + random() % 10, failsAtEnd);
    BufferedBytes bytes(source, capacity);
    const int ending =
        failsAtEnd ? BufferedBytes::kFailure : BufferedBytes::kEndOfFile;
    std::size_t position = 0;
    const auto expectedNext = [&] {
      return position < text.size()
                 ? static_cast<int>(static_cast<unsigned char>(text[position]))
                 : ending;
    };
    while (position <= text.size()) {
      const std::int64_t line =
          1 + std::count(text.begin(), text.begin() + position, '\n');
      ASSERT_EQ(bytes.line(), line) << round;
      switch (random() % 3) {
        case 0:
          ASSERT_EQ(bytes.peek(), expectedNext()) << round;
          break;
        case 1: {
          const std::size_t length = random() % (capacity + 1);
          std::string wanted = text.substr(position, length);
          const bool spoiled = !wanted.empty() && random() % 2 == 0;
          if (spoiled) wanted.back() = 'z';
          ASSERT_EQ(bytes.skipIfNext(wanted), !spoiled) << round;
          if (!spoiled) position += wanted.size();
          break;
        }
        default:
          ASSERT_EQ(bytes.next(), expectedNext()) << round;
          ++position;
      }
    }
  }
}

}  // namespace
}  // namespace talvik
