#ifndef TALVIK_BATCH_RESULT_TABLE_H_
#define TALVIK_BATCH_RESULT_TABLE_H_

#include <optional>
#include <span>
#include <string>
#include <vector>

#include "analysis/bootstrap.h"

namespace talvik {

enum class TableFormat { kCsv, kJson };

// The numbers of one analysis: A and the ranges of the five reported levels,
// then those of the extra levels, in order.
struct AnalysisNumbers {
  int settlements = 0;
  float a = 0.0f;
  std::vector<ErrorRange> ranges;
};

// One row of the table: the numbers, or the message of the failure.
struct AnalysisRow {
  std::string file;  // as given
  double seed = 0.0;
  std::optional<AnalysisNumbers> numbers;
  std::string error;  // empty when the numbers are there
};

// Writes the table piece by piece, so that rows go out as they come. Numbers
// are the shortest decimals that read back as the same float, or "inf",
// "-inf", "nan"; seeds the shortest that read back as the same double.
//   CSV: a header, then one line per row, the error last (empty on success).
//   JSON: an array of one object per row; non-finite numbers as strings.
class ResultTable {
 public:
  // `extraLevels` are the levels reported after the fixed ones.
  ResultTable(TableFormat format, std::span<const int> extraLevels);

  // The text before the first row.
  std::string opening() const;
  // The text of the next row.
  // REQUIRES: row.numbers holds 5 + extraLevels.size() ranges when set
  std::string row(const AnalysisRow& row);
  // The text after the last row.
  std::string closing() const;

 private:
  std::string csvRow(const AnalysisRow& row) const;
  std::string jsonRow(const AnalysisRow& row) const;

  TableFormat format_;
  std::vector<int> levels_;  // all of them, the fixed ones first
  bool firstRow_ = true;
};

}  // namespace talvik

#endif  // TALVIK_BATCH_RESULT_TABLE_H_
