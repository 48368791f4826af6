#ifndef TALVIK_BATCH_SIZE_DOUBTS_H_
#define TALVIK_BATCH_SIZE_DOUBTS_H_

#include <string>

namespace talvik {

// Lines that the size rules read, but perhaps not as their writer meant.
enum class SizeDoubt {
  kZeroOrLess,
};

// The warning that explains how the line was read.
std::string doubtMessage(SizeDoubt doubt);

}  // namespace talvik

#endif  // TALVIK_BATCH_SIZE_DOUBTS_H_
