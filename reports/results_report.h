#ifndef TALVIK_REPORTS_RESULTS_REPORT_H_
#define TALVIK_REPORTS_RESULTS_REPORT_H_

#include <string_view>

#include "analysis/bootstrap.h"
#include "session/console/record_destination.h"

namespace talvik {

// The observed A and the resampling notice, written before the first resample
// is drawn. Screen records begin with a blank; their results-file twins do not.
void reportObservedA(RecordDestination& screen, RecordDestination& resultsFile,
                     float observedA, int settlementCount);

// The error ranges of the levels 99, 95, 90, 80 and 66, then the notice naming
// the results file (its 12-character field, trailing blanks kept).
void reportErrorRanges(RecordDestination& screen,
                       RecordDestination& resultsFile,
                       const BootstrapResult& result,
                       std::string_view resultsFileName);

}  // namespace talvik

#endif  // TALVIK_REPORTS_RESULTS_REPORT_H_
