#ifndef TALVIK_SESSION_CONSOLE_TEXT_DESTINATION_H_
#define TALVIK_SESSION_CONSOLE_TEXT_DESTINATION_H_

#include <string>
#include <string_view>

#include "session/console/record_destination.h"

namespace talvik {

// Collects records in memory, CR LF included, so that a whole file can be
// put in place at once.
class TextDestination : public RecordDestination {
 public:
  void putRecord(std::string_view record) override { text_ += record; }
  const std::string& text() const { return text_; }

 private:
  std::string text_;
};

}  // namespace talvik

#endif  // TALVIK_SESSION_CONSOLE_TEXT_DESTINATION_H_
