#ifndef TALVIK_BATCH_TABLE_ROWS_H_
#define TALVIK_BATCH_TABLE_ROWS_H_

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "analysis/bootstrap.h"

namespace talvik {

// How the table is written: CSV, JSON, or a line of text per analysis.
enum class TableFormat { kCsv, kJson, kText };

// The numbers of one analysis: the resamples drawn, A and the ranges of the
// five reported levels, then those of the extra levels, in order.
struct AnalysisNumbers {
  int settlements = 0;
  float a = 0.0f;
  std::vector<ErrorRange> ranges;
  int resamples = kResampleCount;
};

// One row of the table: the numbers, or the message of the failure.
struct AnalysisRow {
  std::string file;  // as given
  double seed = 0.0;
  std::optional<AnalysisNumbers> numbers;
  std::string error;  // empty when the numbers are there
  // With the numbers: the sizes read before any was left out or cut, and
  // those left out by --positive-only.
  std::int64_t sizesRead = 0;
  std::int64_t leftOut = 0;
  // With the numbers: why A or a range is not a finite number; else empty.
  std::string note;
};

}  // namespace talvik

#endif  // TALVIK_BATCH_TABLE_ROWS_H_
