#ifndef TALVIK_SESSION_CONSOLE_MEMORY_FAILURE_H_
#define TALVIK_SESSION_CONSOLE_MEMORY_FAILURE_H_

#include <functional>
#include <ostream>
#include <string_view>

namespace talvik {

// The exit status of a companion whose memory ran out: that of a failed run,
// not of a usage error.
inline constexpr int kOutOfMemoryStatus = 1;

// Runs a companion's whole command and returns its exit status. A memory
// failure anywhere in it ends the run with the one line
// "PROGRAM: error: out of memory" on `errors` and kOutOfMemoryStatus, instead
// of an abort.
int runReportingMemoryFailure(std::string_view program, std::ostream& errors,
                              const std::function<int()>& command);

}  // namespace talvik

#endif  // TALVIK_SESSION_CONSOLE_MEMORY_FAILURE_H_
