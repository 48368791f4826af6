#ifndef TALVIK_WEB_RESULT_READING_H_
#define TALVIK_WEB_RESULT_READING_H_

#include <nlohmann/json.hpp>
#include <span>
#include <string>

#include "batch/comparison_table.h"
#include "batch/table_rows.h"

namespace talvik {

// The numbers of one analysis as the page shows them, with three decimals as
// the results file has them ("0.096", "-0.276", "NaN", "-INF"):
// {"settlements", "A", "ranges": [{"level", "lower", "upper", "width"}]}.
nlohmann::json numbersJson(const AnalysisNumbers& numbers);

// One sentence or two that read A and its ranges for the reader: which side
// of the rank-size line A lies on, and the highest level whose range leaves
// out 0, if any, beside the next higher one that holds it.
std::string resultSentence(const AnalysisNumbers& numbers);

// The numbers of one comparison as the page shows them, as numbersJson shows
// an analysis's: {"settlements", "referenceSettlements", "difference",
// "ranges": [{"level", "lower", "upper", "width"}]}.
nlohmann::json differenceJson(const ComparisonNumbers& numbers);

// One sentence that reads the difference A(file) - A(reference): which file's
// A is the higher, and the highest level whose range leaves out 0, if any,
// beside the next higher one that holds it.
std::string differenceSentence(const ComparisonNumbers& numbers,
                               const std::string& file,
                               const std::string& reference);

}  // namespace talvik

#endif  // TALVIK_WEB_RESULT_READING_H_
