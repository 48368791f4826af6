#ifndef TALVIK_BATCH_SIZE_DOUBTS_H_
#define TALVIK_BATCH_SIZE_DOUBTS_H_

#include <string>

#include "analysis/size_file.h"

namespace talvik {

// The warning that says how a doubtful line was read and what it may have
// meant, e.g. for "16,395": the value is 16 and the rest a thousands group.
std::string doubtMessage(SizeFileDoubt::Kind kind);

// The warning for digits beyond the single-precision range, which the
// size-file rules read as infinity just as they read a word.
std::string beyondSinglePrecisionMessage();

}  // namespace talvik

#endif  // TALVIK_BATCH_SIZE_DOUBTS_H_
