#ifndef TALVIK_BATCH_SIZE_DOUBTS_H_
#define TALVIK_BATCH_SIZE_DOUBTS_H_

#include <cstdint>
#include <optional>
#include <string>
#include <utility>

#include "analysis/size_file.h"

namespace talvik {

// A doubtful line: one of the size file's doubts, or digits beyond the
// single-precision range.
struct LineDoubt {
  LineDoubt() = default;
  LineDoubt(std::int64_t line, std::optional<SizeFileDoubt::Kind> kind,
            std::string text = {})
      : line(line), kind(kind), text(std::move(text)) {}

  std::int64_t line = 0;
  std::optional<SizeFileDoubt::Kind> kind;  // unset: beyond single precision
  std::string text;  // when not empty, the warning itself (a missing value)
};

// The warning that says how a doubtful line was read and what it may have
// meant, e.g. for "16,395": the value is 16 and the rest a thousands group.
std::string doubtMessage(SizeFileDoubt::Kind kind);

// The warning for digits beyond the single-precision range, which the
// size-file rules read as infinity just as they read a word.
std::string beyondSinglePrecisionMessage();

// The warning for either; with --positive-only a size of 0 is left out
// rather than analysed, and the text says so.
std::string doubtMessage(const LineDoubt& doubt, bool positiveOnly);

}  // namespace talvik

#endif  // TALVIK_BATCH_SIZE_DOUBTS_H_
