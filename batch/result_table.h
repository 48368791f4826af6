#ifndef TALVIK_BATCH_RESULT_TABLE_H_
#define TALVIK_BATCH_RESULT_TABLE_H_

#include <span>
#include <string>
#include <vector>

#include "batch/table_rows.h"

namespace talvik {

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
