#ifndef TALVIK_ANALYSIS_SIZE_FILE_H_
#define TALVIK_ANALYSIS_SIZE_FILE_H_

#include <vector>

#include "analysis/byte_source.h"
#include "analysis/observed_sizes.h"

namespace talvik {

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

}  // namespace talvik

#endif  // TALVIK_ANALYSIS_SIZE_FILE_H_
