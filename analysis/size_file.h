#ifndef TALVIK_ANALYSIS_SIZE_FILE_H_
#define TALVIK_ANALYSIS_SIZE_FILE_H_

#include <span>
#include <vector>

#include "analysis/byte_source.h"

namespace talvik {

inline constexpr int kMaxSettlements = 1000;

// The settlement sizes, largest first: the positive sizes in non-increasing
// order, then 0.0 for each size that was zero or negative. SettlementCount is
// its size(). Never changed once ordered.
using ObservedSizes = std::vector<float>;

// The outcome of reading the size file.
struct SizeFileReading {
  enum class Ending {
    kSizesRead,     // `sizes` holds the values in file order (0 to 1000)
    kReadError,     // a value that is no number, or the system refused
    kTooManySizes,  // a 1001st value was read
  };
  Ending ending = Ending::kSizesRead;
  std::vector<float> sizes;  // file order; empty unless kSizesRead
};

// Reads at most 1001 values, one per line. Streams the file: a line of any
// length is read without holding it whole in memory.
SizeFileReading readSettlementSizes(ByteSource& file);

// Orders a list largest first, as the repeated selection below does: the
// positive sizes in non-increasing order (of equal values the earlier first),
// then 0.0 for each size that is zero or negative. A list holding NaN gets
// exactly what the selection gives it.
std::vector<float> orderLargestFirst(std::span<const float> list);

// The repeated selection itself, step by step: the reference for the above.
std::vector<float> orderLargestFirstBySelection(std::span<const float> list);

}  // namespace talvik

#endif  // TALVIK_ANALYSIS_SIZE_FILE_H_
