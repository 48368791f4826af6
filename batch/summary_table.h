#ifndef TALVIK_BATCH_SUMMARY_TABLE_H_
#define TALVIK_BATCH_SUMMARY_TABLE_H_

#include <optional>
#include <span>
#include <string>
#include <vector>

#include "batch/seed_summary.h"
#include "batch/table_rows.h"

namespace talvik {

// The shortest decimal that reads back as the same double.
// REQUIRES: value is finite
std::string doubleText(double value);

// Writes the table of --summary: one row per file over all its seeds,
// gathered as the rows come, a file's seeds together, so that only one
// file's sums are held. Over the seeds, each bound of each level has its mean
// and sample standard deviation (n - 1, in double): empty, or null, when a
// seed's bound was not finite, the sd also with a single seed. The share of
// seeds whose range excludes 0 (lower > 0 or upper < 0) is a fraction from 0
// to 1.
//   CSV: file,seeds,settlements,sizes_read,left_out,A, per level P
//   lower_P_mean,lower_P_sd,upper_P_mean,upper_P_sd,excludes_0_P, then
//   error,note. A failed file: its seeds and its error, the rest empty.
//   JSON: an array of one object per file, the levels under "ranges".
//   Text: summaryLine's line per file.
class SummaryTable {
 public:
  // `extraLevels` are the levels reported after the fixed ones; `textLevel`
  // the only level of the text lines, which show every level without it.
  SummaryTable(TableFormat format, std::span<const int> extraLevels,
               std::optional<int> textLevel = std::nullopt);

  std::string opening() const;
  // Takes the next row; after the file's last seed, returns the file's row
  // and starts the next file, else returns nothing.
  // REQUIRES: rows in the table's order, each file's seeds together
  std::string add(const AnalysisRow& row, bool lastOfFile);
  std::string closing() const;

 private:
  std::string csvRow(const FileSummary& summary) const;
  std::string jsonRow(const FileSummary& summary) const;

  TableFormat format_;
  std::vector<int> levels_;  // all of them, the fixed ones first
  std::vector<int> textLevels_;
  SeedSummary current_;
  bool firstRow_ = true;
};

}  // namespace talvik

#endif  // TALVIK_BATCH_SUMMARY_TABLE_H_
