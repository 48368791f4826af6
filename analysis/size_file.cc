#include "analysis/size_file.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <functional>
#include <iterator>
#include <optional>
#include <utility>
#include <vector>

#include "analysis/size_value.h"

namespace talvik {
namespace {

constexpr std::size_t kBufferSize = 64 * 1024;
constexpr int kEndOfFile = -1;
constexpr int kFailure = -2;

// The size file's characters, streamed through a fixed buffer, carriage
// returns dropped wherever they stand. Tabs are handed on as they are: a value
// never spans one and no column counts, so expanding them to 8-column stops
// would change nothing.
class SizeFileCharacters {
 public:
  explicit SizeFileCharacters(ByteSource& file)
      : file_(file), buffer_(kBufferSize) {}

  // The next character as an unsigned char, kEndOfFile or kFailure.
  int next() {
    while (true) {
      if (position_ == filled_ && !refill()) {
        return failed_ ? kFailure : kEndOfFile;
      }
      const char c = buffer_[position_++];
      if (c != '\r') return static_cast<unsigned char>(c);
    }
  }

 private:
  bool refill() {
    if (ended_) return false;
    const std::optional<std::size_t> count =
        file_.read(buffer_.data(), buffer_.size());
    if (!count || *count == 0) {
      ended_ = true;
      failed_ = !count;
      return false;
    }
    position_ = 0;
    filled_ = *count;
    return true;
  }

  ByteSource& file_;
  std::vector<char> buffer_;
  std::size_t position_ = 0;
  std::size_t filled_ = 0;
  bool ended_ = false;
  bool failed_ = false;
};

struct ValueRead {
  enum class Outcome { kValue, kEndOfFile, kReadError };
  Outcome outcome;
  float value = 0.0f;
};

bool endsValue(int c) {
  return c == ' ' || c == '\t' || c == ',' || c == '/' || c == '\n' ||
         c == kEndOfFile || c == kFailure;
}

// Reads one value per line: each read starts on the line after the previous
// value's, and what followed that value on its line is never looked at.
class SizeValueReader {
 public:
  explicit SizeValueReader(ByteSource& file) : characters_(file) {}

  ValueRead next() {
    if (restOfLineUnread_ && !skipRestOfLine()) {
      return {ValueRead::Outcome::kReadError};
    }
    restOfLineUnread_ = false;
    bool afterCount = false;
    while (true) {
      int c = skipBlanksAndLineEnds();
      if (c == kFailure) return {ValueRead::Outcome::kReadError};
      if (c == kEndOfFile) return {ValueRead::Outcome::kEndOfFile};
      if (c == ',' || c == '/') {
        // A value left empty: one settlement, taken as size 0.0.
        restOfLineUnread_ = true;
        return {ValueRead::Outcome::kValue, 0.0f};
      }
      SizeValueScanner scanner;
      while (!endsValue(c) && !(c == '*' && !afterCount)) {
        scanner.add(static_cast<char>(c));
        c = characters_.next();
      }
      if (c == '*') {
        // What stood before the star was a repeat count: unchecked, unused.
        // The value proper follows, on later lines if the star ends this one.
        afterCount = true;
        continue;
      }
      if (c == kFailure) return {ValueRead::Outcome::kReadError};
      restOfLineUnread_ = c != '\n' && c != kEndOfFile;
      const std::optional<float> value = scanner.value();
      if (!value) return {ValueRead::Outcome::kReadError};
      return {ValueRead::Outcome::kValue, *value};
    }
  }

 private:
  int skipBlanksAndLineEnds() {
    int c = characters_.next();
    while (c == ' ' || c == '\t' || c == '\n') c = characters_.next();
    return c;
  }

  bool skipRestOfLine() {
    int c = characters_.next();
    while (c != '\n' && c != kEndOfFile && c != kFailure) {
      c = characters_.next();
    }
    return c != kFailure;
  }

  SizeFileCharacters characters_;
  bool restOfLineUnread_ = false;
};

}  // namespace

SizeFileReading readSettlementSizes(ByteSource& file) {
  SizeValueReader reader(file);
  std::vector<float> sizes;
  while (true) {
    const ValueRead read = reader.next();
    switch (read.outcome) {
      case ValueRead::Outcome::kReadError:
        return {SizeFileReading::Ending::kReadError, {}};
      case ValueRead::Outcome::kEndOfFile:
        return {SizeFileReading::Ending::kSizesRead, std::move(sizes)};
      case ValueRead::Outcome::kValue:
        break;
    }
    // A 1001st value only shows that there are too many; nothing after it
    // is read.
    if (sizes.size() == static_cast<std::size_t>(kMaxSettlements)) {
      return {SizeFileReading::Ending::kTooManySizes, {}};
    }
    sizes.push_back(read.value);
  }
}

}  // namespace talvik
