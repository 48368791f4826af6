#ifndef TALVIK_SESSION_CONSOLE_RECORD_DESTINATION_H_
#define TALVIK_SESSION_CONSOLE_RECORD_DESTINATION_H_

#include <string_view>

namespace talvik {

// Where finished records go: the screen or a connected output file.
class RecordDestination {
 public:
  virtual ~RecordDestination() = default;
  // Appends one whole record, its CR LF included. Throws Fault when the
  // destination refuses the bytes.
  virtual void putRecord(std::string_view record) = 0;
};

}  // namespace talvik

#endif  // TALVIK_SESSION_CONSOLE_RECORD_DESTINATION_H_
