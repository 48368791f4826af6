#ifndef TALVIK_BATCH_COMPARISON_RUN_H_
#define TALVIK_BATCH_COMPARISON_RUN_H_

#include <ostream>

#include "batch/batch_options.h"

namespace talvik {

// --compare: compares every FILE after the first with the first, the
// reference, with every seed, on options.jobs threads, and writes one row
// per file and seed in the order of the arguments: the table on `out` (or
// the --output file) and the chart of the differences; the reference's
// warnings and errors first, each other file's before its first row. A
// reference that cannot be analysed fails every row, a file its own rows.
// True when every comparison succeeded and the table was written.
// REQUIRES: options.compare, options.files.size() >= 2
bool runComparison(const BatchOptions& options, std::ostream& out,
                   std::ostream& errors, bool errorsOnTerminal);

}  // namespace talvik

#endif  // TALVIK_BATCH_COMPARISON_RUN_H_
