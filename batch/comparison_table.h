#ifndef TALVIK_BATCH_COMPARISON_TABLE_H_
#define TALVIK_BATCH_COMPARISON_TABLE_H_

#include <optional>
#include <span>
#include <string>
#include <vector>

#include "analysis/bootstrap.h"
#include "batch/table_rows.h"

namespace talvik {

// The numbers of one comparison: the difference A(file) - A(reference) and
// its ranges at the five reported levels, then at the extra ones, in order.
struct ComparisonNumbers {
  int settlements = 0;           // of the file
  int referenceSettlements = 0;  // of the reference
  float difference = 0.0f;
  std::vector<ErrorRange> ranges;
  int resamples = kResampleCount;  // of each list
};

// One row of a comparison table: the numbers, or why there are none.
struct ComparisonRow {
  std::string file;       // as given
  std::string reference;  // as given
  double seed = 0.0;
  std::optional<ComparisonNumbers> numbers;
  std::string error;  // empty when the numbers are there
};

// Writes the table of --compare piece by piece, as ResultTable writes the
// analyses' (the same numbers, cells and strings):
//   CSV: file,reference,seed,settlements,reference_settlements,resamples,
//   difference,
//   lower_P,upper_P,range_P for each level, error.
//   JSON: an array of one object per row, the ranges as a list.
//   Text: one line per row, to quote in a paper:
//   "b.txt - a.txt: difference in A = 0.120, 95 % range -0.031 to 0.274
//   (n = 37 and 52, seed 1234567, 1000 resamples)", n of the file first;
//   a failed row: "b.txt - a.txt: not compared: ERROR".
class ComparisonTable {
 public:
  ComparisonTable(TableFormat format, std::span<const int> extraLevels,
                  std::optional<int> textLevel = std::nullopt);

  std::string opening() const;
  // REQUIRES: row.numbers holds 5 + extraLevels.size() ranges when set
  std::string row(const ComparisonRow& row);
  std::string closing() const;

 private:
  std::string csvRow(const ComparisonRow& row) const;
  std::string jsonRow(const ComparisonRow& row) const;
  std::string textRow(const ComparisonRow& row) const;

  TableFormat format_;
  std::vector<int> levels_;  // all of them, the fixed ones first
  std::vector<int> textLevels_;
  bool firstRow_ = true;
};

}  // namespace talvik

#endif  // TALVIK_BATCH_COMPARISON_TABLE_H_
