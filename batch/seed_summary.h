#ifndef TALVIK_BATCH_SEED_SUMMARY_H_
#define TALVIK_BATCH_SEED_SUMMARY_H_

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "batch/table_rows.h"

namespace talvik {

// One bound of one level over the seeds: its mean and sample standard
// deviation, kept by Welford's running update in double, seed by seed in the
// order the rows come, so that no seed's value need be held.
class BoundSpread {
 public:
  void add(float bound);

  // Unset when any seed's bound was not finite.
  std::optional<double> mean() const;
  // The standard deviation with n - 1; unset with fewer than two seeds or
  // when any seed's bound was not finite.
  std::optional<double> sd() const;

 private:
  std::int64_t count_ = 0;  // of the finite bounds
  std::int64_t notFinite_ = 0;
  double mean_ = 0.0;
  double squares_ = 0.0;  // the sum of squared deviations from the mean
};

// One level over the seeds.
struct LevelSummary {
  int level = 0;
  BoundSpread lower;
  BoundSpread upper;
  std::int64_t excludingZero = 0;  // seeds whose lower > 0 or upper < 0
  std::int64_t notFinite = 0;      // seeds with a bound that is not finite
};

// One file over all its seeds: the row of `--summary`.
struct FileSummary {
  // The file's first row: its file, its counts, its A (the same for every
  // seed) and its note.
  AnalysisRow first;
  // The first error of its rows: when set, the file is reported failed.
  std::string error;
  std::int64_t seeds = 0;
  std::vector<LevelSummary> levels;  // in the order of the rows' ranges
  // Seeds with a bound that is not finite, and the first of them.
  std::int64_t seedsNotFinite = 0;
  AnalysisRow firstNotFinite;
};

// Gathers the rows of one file, its seeds in turn, into its summary.
class SeedSummary {
 public:
  // The next seed's row of the file; the first row starts the file anew.
  void add(const AnalysisRow& row);

  // REQUIRES: at least one row added
  const FileSummary& summary() const { return summary_; }
  // Ends the file: the next row starts another.
  void reset() { summary_ = FileSummary(); }

 private:
  FileSummary summary_;
};

// The note of a file's summary: empty when every bound of every seed is
// finite; the rows' own note when A is not finite (A, and so that note, is
// the same for every seed); otherwise how many seeds have a bound that is not
// finite, and the note of the first of them:
//   "3 of 100 seeds have bounds that are not finite; seed 17: the bounds at
//   99 % are not finite"
std::string summaryNote(const FileSummary& summary);

}  // namespace talvik

#endif  // TALVIK_BATCH_SEED_SUMMARY_H_
