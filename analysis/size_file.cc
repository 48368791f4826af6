#include "analysis/size_file.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <optional>
#include <utility>
#include <vector>

#include "analysis/buffered_bytes.h"
#include "analysis/number_characters.h"
#include "analysis/size_value.h"

namespace talvik {
namespace {

constexpr int kEndOfFile = BufferedBytes::kEndOfFile;
constexpr int kFailure = BufferedBytes::kFailure;

// The size file's characters, carriage returns dropped wherever they stand.
// Tabs are handed on as they are: a value never spans one and no column
// counts, so expanding them to 8-column stops would change nothing.
class SizeFileCharacters {
 public:
  explicit SizeFileCharacters(ByteSource& file) : bytes_(file) {}

  // The next character as an unsigned char, kEndOfFile or kFailure.
  int next() {
    int c = bytes_.next();
    while (c == '\r') c = bytes_.next();
    return c;
  }

  // The line (from 1) after the last line end returned. A file of more lines
  // than an int counts stays on its last line.
  int line() const {
    return static_cast<int>(
        std::min<std::int64_t>(bytes_.line(), std::numeric_limits<int>::max()));
  }

 private:
  BufferedBytes bytes_;
};

struct ValueRead {
  enum class Outcome { kValue, kEndOfFile, kReadError };
  Outcome outcome;
  float value = 0.0f;
  int line = 0;  // where the value, or the read error, is
};

bool endsValue(int c) {
  return c == ' ' || c == '\t' || c == ',' || c == '/' || c == '\n' ||
         c == kEndOfFile || c == kFailure;
}

bool endsLine(int c) { return c == '\n' || c == kEndOfFile || c == kFailure; }

using Doubt = SizeFileDoubt::Kind;

// Reads one value per line: each read starts on the line after the previous
// value's, and what followed that value on its line is never used. It is
// only looked at for the doubts it raises.
class SizeValueReader {
 public:
  SizeValueReader(ByteSource& file, std::vector<SizeFileDoubt>& doubts)
      : characters_(file), doubts_(doubts) {}

  ValueRead next() {
    if (restOfLineUnread_ && !skipRestOfLine()) {
      return error(characters_.line());
    }
    restOfLineUnread_ = false;
    bool afterCount = false;
    while (true) {
      int c = skipBlanksAndLineEnds();
      const int line = characters_.line();
      if (c == kFailure) return error(line);
      if (c == kEndOfFile) return {ValueRead::Outcome::kEndOfFile};
      if (c == ',' || c == '/') {
        // A value left empty: one settlement, taken as size 0.0.
        doubts_.push_back({line, Doubt::kEmptyValue});
        skipLater(line, '\n');
        return {ValueRead::Outcome::kValue, 0.0f, line};
      }
      SizeValueScanner scanner;
      while (!endsValue(c) && !(c == '*' && !afterCount)) {
        scanner.add(static_cast<char>(c));
        c = characters_.next();
      }
      if (c == '*') {
        // What stood before the star was a repeat count: unchecked, unused.
        // The value proper follows, on later lines if the star ends this one.
        doubts_.push_back({line, Doubt::kRepeatCount});
        afterCount = true;
        continue;
      }
      if (c == kFailure) return error(line);
      const std::optional<float> value = scanner.value();
      if (!value) return error(line);
      int ending = c;
      if (scanner.isWord()) {
        doubts_.push_back({line, Doubt::kWordAsValue});
        ending = '\n';  // what follows a heading's first word is no news
      } else if (*value <= 0.0f) {
        doubts_.push_back({line, Doubt::kNotPositive});
      }
      if (c != '\n' && c != kEndOfFile) skipLater(line, ending);
      return {ValueRead::Outcome::kValue, *value, line};
    }
  }

 private:
  // The unread rest of the line of the last value, and what ended the value.
  struct RestOfLine {
    int line = 0;
    int ending = '\n';  // a line end when nothing after the value is news
  };

  void skipLater(int line, int ending) {
    restOfLine_ = {line, ending};
    restOfLineUnread_ = true;
  }

  static ValueRead error(int line) {
    return {ValueRead::Outcome::kReadError, 0.0f, line};
  }

  int skipBlanksAndLineEnds() {
    int c = characters_.next();
    while (c == ' ' || c == '\t' || c == '\n') c = characters_.next();
    return c;
  }

  // Passes over the rest of the line. A comma with three digits after it, as
  // in "16,395", is a thousands separator; other text than blanks was not
  // read either.
  bool skipRestOfLine() {
    const bool commaEnded = restOfLine_.ending == ',';
    bool text = restOfLine_.ending == '/' || commaEnded;
    int groupDigits = 0;
    bool groupEnded = !commaEnded;
    int c = characters_.next();
    for (; !endsLine(c); c = characters_.next()) {
      if (!groupEnded && isDigit(static_cast<char>(c))) {
        if (groupDigits <= 3) ++groupDigits;  // 4 stands for "more than 3"
      } else {
        groupEnded = true;
      }
      if (c != ' ' && c != '\t') text = true;
    }
    if (c == kFailure) return false;
    if (restOfLine_.ending != '\n') {
      if (commaEnded && groupDigits == 3) {
        doubts_.push_back({restOfLine_.line, Doubt::kThousandsSeparator});
      } else if (text) {
        doubts_.push_back({restOfLine_.line, Doubt::kTextAfterValue});
      }
    }
    return true;
  }

  SizeFileCharacters characters_;
  std::vector<SizeFileDoubt>& doubts_;
  RestOfLine restOfLine_;
  bool restOfLineUnread_ = false;
};

}  // namespace

namespace {

// Reads values until the end of the file, a read error, or a value that
// `take` refuses (it then records the ending).
template <typename Take>
SizeFileReading readValues(ByteSource& file, Take take) {
  SizeFileReading reading;
  SizeValueReader reader(file, reading.doubts);
  while (true) {
    const ValueRead read = reader.next();
    switch (read.outcome) {
      case ValueRead::Outcome::kReadError:
        reading.ending = SizeFileReading::Ending::kReadError;
        reading.endingLine = read.line;
        reading.sizes.clear();
        return reading;
      case ValueRead::Outcome::kEndOfFile:
        return reading;
      case ValueRead::Outcome::kValue:
        if (!take(reading, read)) return reading;
        break;
    }
  }
}

}  // namespace

SizeFileReading readSettlementSizes(ByteSource& file) {
  return readValues(file, [](SizeFileReading& reading, const ValueRead& read) {
    // A 1001st value only shows that there are too many; nothing after it
    // is read.
    if (reading.sizes.size() == static_cast<std::size_t>(kMaxSettlements)) {
      reading.ending = SizeFileReading::Ending::kTooManySizes;
      reading.endingLine = read.line;
      reading.sizes.clear();
      return false;
    }
    reading.sizes.push_back(read.value);
    return true;
  });
}

SizeFileReading readEverySettlementSize(
    ByteSource& file, const std::function<bool(const SizeFileValue&)>& take,
    const std::function<void(const SizeFileDoubt&)>& doubt) {
  // Doubts go out as they are found: however many lines raise one, only those
  // of the last value or two wait here.
  const auto handOutDoubts = [&doubt](SizeFileReading& reading) {
    for (const SizeFileDoubt& found : reading.doubts) doubt(found);
    reading.doubts.clear();
  };
  SizeFileReading reading =
      readValues(file, [&](SizeFileReading& soFar, const ValueRead& read) {
        // A word's doubt is the last one found before its value: told apart
        // here, the dialogue's reading does not pay for it.
        const bool word =
            !soFar.doubts.empty() &&
            soFar.doubts.back() ==
                SizeFileDoubt{read.line, SizeFileDoubt::Kind::kWordAsValue};
        handOutDoubts(soFar);
        return take({read.value, read.line, word});
      });
  handOutDoubts(reading);
  return reading;
}

}  // namespace talvik
