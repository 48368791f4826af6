#ifndef TALVIK_ANALYSIS_SIZE_FILE_H_
#define TALVIK_ANALYSIS_SIZE_FILE_H_

#include <functional>
#include <vector>

#include "analysis/byte_source.h"
#include "analysis/observed_sizes.h"

namespace talvik {

// A line read as the size file's rules say, but perhaps not as its writer
// meant it (a spreadsheet's thousands separator, a heading).
struct SizeFileDoubt {
  enum class Kind {
    kThousandsSeparator,  // a comma and three digits after the value
    kTextAfterValue,      // other text after the value, not read
    kWordAsValue,         // a word read as infinity or not-a-number
    kEmptyValue,          // a comma or slash first: a size of 0
    kRepeatCount,         // "r*v": the count is not used
    kNotPositive,         // a size of zero or less
  };
  int line = 0;  // from 1
  Kind kind = Kind::kTextAfterValue;

  bool operator==(const SizeFileDoubt&) const = default;
};

// The outcome of reading the size file.
struct SizeFileReading {
  enum class Ending {
    kSizesRead,     // `sizes` holds the values in file order (0 to 1000)
    kReadError,     // a value that is no number, or the system refused
    kTooManySizes,  // a 1001st value was read
  };
  Ending ending = Ending::kSizesRead;
  std::vector<float> sizes;  // file order; empty unless kSizesRead
  // The line of the read error or of the 1001st value; 0 when sizes are read.
  int endingLine = 0;
  // In the order of the lines, for the values read.
  std::vector<SizeFileDoubt> doubts;
};

// Reads at most 1001 values, one per line. Streams the file: a line of any
// length is read without holding it whole in memory.
SizeFileReading readSettlementSizes(ByteSource& file);

// One value as read: the size, its line, and whether it was taken from a
// word ("INF", "NaN", a heading) rather than from digits.
struct SizeFileValue {
  float size = 0.0f;
  int line = 0;
  bool word = false;
};

// Reads values by the same rules however many there are, handing each to
// `take` and each doubt to `doubt` in file order, so that a caller keeps only
// what it needs: `sizes` and `doubts` stay empty. The reading stops after a
// value that `take` refuses, with the ending kSizesRead; otherwise the ending
// is kSizesRead at the end of the file or kReadError.
SizeFileReading readEverySettlementSize(
    ByteSource& file, const std::function<bool(const SizeFileValue&)>& take,
    const std::function<void(const SizeFileDoubt&)>& doubt);

}  // namespace talvik

#endif  // TALVIK_ANALYSIS_SIZE_FILE_H_
