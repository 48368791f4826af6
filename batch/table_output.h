#ifndef TALVIK_BATCH_TABLE_OUTPUT_H_
#define TALVIK_BATCH_TABLE_OUTPUT_H_

#include <optional>
#include <ostream>
#include <string>

#include "batch/progress_line.h"
#include "session/console/output_file.h"

namespace talvik {

// The table of a run as it grows: on standard output, or into its file under
// a temporary name put in place only once complete. A table that cannot be
// written is reported on `errors` at once, in place of the progress line,
// and the rest of it is not written (its temporary file is removed).
class TableOutput {
 public:
  TableOutput(std::ostream& errors, ProgressLine& progress)
      : errors_(errors), progress_(progress) {}

  // Starts the table in `output`, standard output (`out`) when it is empty
  // or "-". Throws FileError when the file cannot be made.
  void open(const std::string& output, std::ostream& out);
  void write(const std::string& text);
  // Ends the table: its file is put in place.
  void finish();

  // Whether any of the table could not be written.
  bool failed() const { return failed_; }

 private:
  void fail(const FileError& error);

  std::ostream& errors_;
  ProgressLine& progress_;
  std::optional<OutputFile>
      file_;  // none before opening, once finished or failed
  bool failed_ = false;
};

}  // namespace talvik

#endif  // TALVIK_BATCH_TABLE_OUTPUT_H_
