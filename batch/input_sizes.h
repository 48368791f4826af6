#ifndef TALVIK_BATCH_INPUT_SIZES_H_
#define TALVIK_BATCH_INPUT_SIZES_H_

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "analysis/byte_source.h"
#include "analysis/observed_sizes.h"
#include "batch/csv_sizes.h"

namespace talvik {

// How the sizes of every FILE are read.
struct SizeReadingRules {
  std::optional<CsvLayout> csv;  // unset: the dialogue's size-file rules
  bool largest = false;          // more than 1000 sizes: keep the largest
  bool positiveOnly = false;     // leave out the sizes without a logarithm
  bool strict = false;           // doubtful lines are errors
};

// A warning or an error about one file, and the line it concerns (0 when it
// concerns the file as a whole).
struct FileMessage {
  std::int64_t line = 0;
  std::string text;
};

// The messages of each kind kept for one file, the first ones; the others
// are only counted, so that a file of any length gives a few lines.
inline constexpr std::size_t kKeptFileMessages = 20;

// The sizes that have no logarithm, by kind.
struct UnusableSizes {
  std::int64_t zero = 0;        // 0 and -0
  std::int64_t negative = 0;    // below 0, -inf included
  std::int64_t notANumber = 0;  // NaN of either sign
  std::int64_t infinite = 0;    // +inf
  std::int64_t total() const { return zero + negative + notANumber + infinite; }
};

// The sizes of one file, ready for the analysis, or why there are none.
struct InputSizes {
  ObservedSizes observed;  // largest first; empty when `errors` is not
  // Every size value read, before any was left out or cut to the largest.
  std::int64_t sizesRead = 0;
  std::int64_t leftOut = 0;  // by --positive-only
  // Among the sizes read: analysed as they are, or with --positive-only
  // left out.
  UnusableSizes unusable;
  // What is said of the file as a whole (sizes left out or cut, a total
  // row), then at most kKeptFileMessages about its lines.
  std::vector<FileMessage> warnings;
  std::vector<FileMessage> errors;  // at most kKeptFileMessages
  std::int64_t unkeptWarnings = 0;  // after the kept ones
  std::int64_t unkeptErrors = 0;
};

// Opens and reads the file at `path`; a file that does not exist is an
// error, never created.
InputSizes readInputSizes(const std::string& path,
                          const SizeReadingRules& rules);

// Reads the sizes from an open file.
InputSizes readInputSizes(ByteSource& file, const SizeReadingRules& rules);

}  // namespace talvik

#endif  // TALVIK_BATCH_INPUT_SIZES_H_
