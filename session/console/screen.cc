#include "session/console/screen.h"

#include <cerrno>
#include <system_error>

#include "session/console/fault.h"

namespace talvik {

void Screen::putRecord(std::string_view record) {
  // A failed write may leave its reason in errno; a stale value must not be
  // mistaken for it.
  errno = 0;
  console_.write(record.data(), static_cast<std::streamsize>(record.size()));
  console_.flush();
  if (console_) return;
  constexpr char kOperation[] = "Writing to the screen";
  // The stream's reason is an errno value on every system.
  if (errno != 0) {
    throw systemFault(std::error_code(errno, std::generic_category()),
                      kOperation);
  }
  throw runTimeFault("Write failure", kOperation);
}

}  // namespace talvik
