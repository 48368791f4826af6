#ifndef TALVIK_BATCH_SIZE_COLLECTION_H_
#define TALVIK_BATCH_SIZE_COLLECTION_H_

#include <cstdint>
#include <string>
#include <vector>

#include "analysis/largest_sizes.h"
#include "batch/held_doubts.h"
#include "batch/input_sizes.h"
#include "batch/size_doubts.h"

namespace talvik {

// The sizes of one file as its reader finds them, gathered by the reading
// rules in bounded memory however many there are: with --positive-only those
// without a logarithm left out and counted, then with --largest the largest
// 1000 kept; the doubtful lines, and what is said about the file as a whole
// (sizes left out or cut, a total row).
class SizeCollection {
 public:
  explicit SizeCollection(const SizeReadingRules& rules);

  // A doubtful line, told before or after its size is added.
  void doubt(const LineDoubt& doubt);
  // A size read on `line`. False when it is a 1001st size without --largest:
  // the file is refused, and nothing more need be read.
  bool add(float size, std::int64_t line);
  // A line that holds no size (a blank cell, a missing-value mark), and
  // the warning that says so.
  void missing(std::int64_t line, std::string text);
  // A warning about the whole file, said before every other.
  void fileWarning(std::string text);
  // An error that refuses the file.
  void error(std::int64_t line, std::string text);

  // The sizes ready for the analysis, or the errors; called once, last.
  InputSizes finish();

 private:
  void addSummaries();
  void checkTotalRow();

  SizeReadingRules rules_;
  InputSizes input_;
  LargestSizes sizes_;
  HeldDoubts doubts_;
  std::vector<std::string> fileWarnings_;
  // For the total row: the positive finite sizes, their sum and the largest.
  std::int64_t positives_ = 0;
  double sum_ = 0.0;
  float largest_ = 0.0f;
  std::int64_t largestLine_ = 0;
};

}  // namespace talvik

#endif  // TALVIK_BATCH_SIZE_COLLECTION_H_
