#ifndef TALVIK_SESSION_CONSOLE_TEMPORARY_FILES_H_
#define TALVIK_SESSION_CONSOLE_TEMPORARY_FILES_H_

#include <cstddef>
#include <string>

#include "session/console/system_file.h"

namespace talvik {

// Temporary files that a signal ending the program (an interrupt, a
// termination, a hang-up, a broken pipe or an abort) removes first, so that
// an interrupted run leaves none behind. The names are kept in a fixed table
// that the signal handler reads without allocating.

// The most temporary files remembered at once, and the longest name.
inline constexpr std::size_t kMostTemporaries = 16;
inline constexpr std::size_t kLongestTemporaryName = 4095;

// A temporary file is created and remembered within one of these, which a
// fatal signal does not split: on this thread the signal waits until it ends,
// on another the handler waits for it. Made once the program is ending, it
// waits for the end.
class TemporaryCreation {
 public:
  TemporaryCreation();
  TemporaryCreation(const TemporaryCreation&) = delete;
  TemporaryCreation& operator=(const TemporaryCreation&) = delete;
  ~TemporaryCreation();

  // Remembers the temporary file `path` until it is forgotten; the first call
  // sets up the signal handlers. Returns the ticket to forget it by, or -1
  // when the table is full or the name too long (it is then not removed on a
  // signal).
  int remember(const std::string& path);

 private:
  FatalSignalsHeld held_;
};

// Forgets the temporary file of `ticket` (from remember); -1 is ignored.
void forgetTemporary(int ticket);

// Removes every remembered temporary file, once any creation under way has
// ended, and lets no more be created; safe in a signal handler.
void removeRememberedTemporaries() noexcept;

}  // namespace talvik

#endif  // TALVIK_SESSION_CONSOLE_TEMPORARY_FILES_H_
