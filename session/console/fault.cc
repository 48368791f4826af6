#include "session/console/fault.h"

#include <utility>

namespace talvik {

Fault runTimeFault(std::string cause, std::string operation) {
  return Fault{kRunTimeErrorHeading, std::move(cause), std::move(operation)};
}

Fault endOfInputFault() {
  return runTimeFault("Attempt to read past end of file",
                      "Reading from the keyboard");
}

Fault systemFault(const std::error_code& error, std::string operation) {
  return Fault{kSystemErrorHeading, error.message(), std::move(operation)};
}

}  // namespace talvik
