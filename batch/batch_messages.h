#ifndef TALVIK_BATCH_BATCH_MESSAGES_H_
#define TALVIK_BATCH_BATCH_MESSAGES_H_

#include <cstdint>
#include <string>
#include <string_view>

#include "batch/input_sizes.h"
#include "session/console/whole_file.h"

namespace talvik {

// The wording of what talvik-batch says about a run: its lines on standard
// error, each starting "talvik-batch: " and ending in its line end, and the
// error column of an analysis that failed. A line shows outside text (file
// names, arguments, cells) by shownText, file names cut after
// kShownNameBytes; the error column is data and keeps the text as it is.

// "talvik-batch: TEXT": a usage error, or outputs that would clash.
std::string usageErrorLine(std::string_view text);

// "talvik-batch: FILE:LINE: warning: TEXT", without ":LINE" for a message
// about the file as a whole.
std::string warningLine(std::string_view file, const FileMessage& message);
// The same with "error:".
std::string errorLine(std::string_view file, const FileMessage& message);

// "talvik-batch: FILE: warning: and N more warnings", after the kept ones.
std::string moreWarningsLine(std::string_view file, std::int64_t count);
// "talvik-batch: FILE: error: and N more errors", after the kept ones.
std::string moreErrorsLine(std::string_view file, std::int64_t count);

// Every line about one file's reading: its warnings (when `warnings`, and
// then `lastWarning` after them when not empty), then its errors, each
// kind's kept ones and how many more.
std::string fileMessageLines(std::string_view file, const InputSizes& input,
                             bool warnings, std::string_view lastWarning = {});

// "talvik-batch: PATH: error: cannot write: REASON", for a file of the run
// that could not be made.
std::string fileErrorLine(const FileError& error);

// When standard output refused the table.
extern const char kTableNotWrittenLine[];

// The error column of a file that could not be analysed: its first error,
// "line N: TEXT", and how many more there are, kept or not.
// REQUIRES: !input.errors.empty()
std::string errorCell(const InputSizes& input);

// The error column of an analysis whose plot files could not be written:
// "PATH: cannot write: REASON".
std::string fileErrorCell(const FileError& error);

}  // namespace talvik

#endif  // TALVIK_BATCH_BATCH_MESSAGES_H_
