#ifndef TALVIK_BATCH_TABLE_NOTES_H_
#define TALVIK_BATCH_TABLE_NOTES_H_

#include <string>

#include "batch/input_sizes.h"
#include "batch/table_rows.h"

namespace talvik {

// The note column of an analysis: why A or a bound is not a finite number,
// "A is -inf: 3 sizes of 0; see --positive-only", or "the bounds at 99 and
// 95 % are not finite: ...", the sizes without a logarithm named when they
// were analysed (not with --positive-only, which leaves them out). Empty when
// A and every bound are finite.
std::string analysisNote(const AnalysisNumbers& numbers,
                         const UnusableSizes& unusable, bool positiveOnly);

// The one warning of a file whose A is not finite because of the sizes
// without a logarithm: "A is -inf: 3 sizes of 0 have no logarithm
// (--positive-only leaves them out)". Empty when A is finite, with
// --positive-only, or when the file has no such sizes.
std::string unusableSizesWarning(float a, const UnusableSizes& unusable,
                                 bool positiveOnly);

}  // namespace talvik

#endif  // TALVIK_BATCH_TABLE_NOTES_H_
