#ifndef TALVIK_BATCH_SUMMARY_LINES_H_
#define TALVIK_BATCH_SUMMARY_LINES_H_

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "batch/seed_summary.h"

namespace talvik {

// The line of `-f text --summary` for one file, to quote in a paper:
//   valley.txt: A = 0.366; over 100 seeds the 90 % range is -0.002 (sd
//   0.020) to 0.675 (sd 0.009) and excludes 0 for 56 % of the seeds (n = 12,
//   1000 resamples per seed, TALVIK 1.0.0)
// with the ranges of `levels` in their order, the means and sds with three
// decimals as textLine shows numbers, no sd with a single seed, "is not
// finite for ..." for a level whose bounds were not all finite, and the note
// in brackets. A failed file: "FILE: not analysed: ERROR".
// REQUIRES: every level of `levels` among summary.levels unless failed
std::string summaryLine(const FileSummary& summary, std::span<const int> levels,
                        std::string_view version);

// "no seed", "every seed", "12 % of the seeds", and, so that a share is
// never rounded to none or all, "under 1 % of the seeds" and "over 99 % of
// the seeds".
// REQUIRES: 0 <= count <= seeds
std::string seedShareText(std::int64_t count, std::int64_t seeds);

}  // namespace talvik

#endif  // TALVIK_BATCH_SUMMARY_LINES_H_
