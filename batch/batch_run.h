#ifndef TALVIK_BATCH_BATCH_RUN_H_
#define TALVIK_BATCH_BATCH_RUN_H_

#include <ostream>

#include "batch/batch_options.h"

namespace talvik {

// Analyses every file with every seed on options.jobs threads and writes the
// results in the order of the arguments, whichever thread finished first:
// the table on `out` (or the --output file), the plot files and the chart;
// each file's warnings and errors on `errors` before its first row. The
// progress line is shown only when `errorsOnTerminal`. True when every
// analysis succeeded and every output was written.
bool runBatch(const BatchOptions& options, std::ostream& out,
              std::ostream& errors, bool errorsOnTerminal);

}  // namespace talvik

#endif  // TALVIK_BATCH_BATCH_RUN_H_
