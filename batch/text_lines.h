#ifndef TALVIK_BATCH_TEXT_LINES_H_
#define TALVIK_BATCH_TEXT_LINES_H_

#include <span>
#include <string>
#include <string_view>

#include "batch/table_rows.h"

namespace talvik {

// The dialogue's F editing with three decimals, without the field's blanks:
// "0.096", "0.000" for -0.0001, "-INF".
std::string shownNumber(float value);

// The line of `-f text` for one analysis, to quote in a paper:
//   sites37.txt: A = 0.096, 95 % range -0.204 to 0.423 (n = 37, seed
//   1234567, 1000 resamples, TALVIK 1.0.0)
// with the ranges of `levels` in their order, each number with three
// decimals as the dialogue's screen shows it ("-INF", "NaN" for the others,
// never asterisks), n as "n = 1000 of 5000 read" when the sizes were cut to
// the largest and with ", 3 left out" when any were left out, and the note,
// when there is one, in brackets after it. A failed analysis:
// "FILE: not analysed: ERROR". The file and error show control bytes as
// \xNN, so that the line stays one line.
// REQUIRES: every level of `levels` among row.numbers's ranges when set
std::string textLine(const AnalysisRow& row, std::span<const int> levels,
                     std::string_view version);

// A number as the dialogue's F editing shows it with three decimals, without
// the field's blanks: "0.096", "0.000" for -0.0001, "-INF".
std::string shownNumber(float value);

// The count of an analysis's sizes: "n = 37", "n = 1000 of 5000 read",
// "n = 37, 3 left out".
// REQUIRES: row.numbers is set
std::string countText(const AnalysisRow& row);

}  // namespace talvik

#endif  // TALVIK_BATCH_TEXT_LINES_H_
