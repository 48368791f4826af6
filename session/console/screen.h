#ifndef TALVIK_SESSION_CONSOLE_SCREEN_H_
#define TALVIK_SESSION_CONSOLE_SCREEN_H_

#include <ostream>
#include <string_view>

#include "session/console/record_destination.h"

namespace talvik {

// The console's output. Every record is written out at once, so a prompt is
// on the screen before the answer is read.
class Screen : public RecordDestination {
 public:
  explicit Screen(std::ostream& console) : console_(console) {}

  // Throws Fault when the console refuses the bytes: "System Error:" with the
  // system's message when it gave a reason, "Write failure" otherwise.
  void putRecord(std::string_view record) override;

 private:
  std::ostream& console_;
};

}  // namespace talvik

#endif  // TALVIK_SESSION_CONSOLE_SCREEN_H_
