#include "batch/table_output.h"

#include "batch/batch_messages.h"

namespace talvik {

void TableOutput::open(const std::string& output, std::ostream& out) {
  file_.emplace(output.empty() ? "-" : output, &out);
}

void TableOutput::write(const std::string& text) {
  if (!file_) return;
  try {
    file_->write(text);
  } catch (const FileError& error) {
    fail(error);
  }
}

void TableOutput::finish() {
  if (!file_) return;
  try {
    file_->finish();
  } catch (const FileError& error) {
    fail(error);
  }
  file_.reset();
}

void TableOutput::fail(const FileError& error) {
  progress_.erase();
  errors_ << (file_->isStandardOutput() ? std::string(kTableNotWrittenLine)
                                        : fileErrorLine(error))
          << std::flush;
  file_.reset();
  failed_ = true;
}

}  // namespace talvik
