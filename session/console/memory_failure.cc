#include "session/console/memory_failure.h"

#include <new>

namespace talvik {

int runReportingMemoryFailure(std::string_view program, std::ostream& errors,
                              const std::function<int()>& command) {
  try {
    return command();
  } catch (const std::bad_alloc&) {
    // Written piece by piece: putting the line together could need memory.
    errors << program << ": error: out of memory\n" << std::flush;
    return kOutOfMemoryStatus;
  }
}

}  // namespace talvik
