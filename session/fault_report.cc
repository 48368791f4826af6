#include "session/fault_report.h"

#include <cstring>
#include <optional>
#include <utility>

namespace talvik {
namespace {

void writeReport(const Fault& fault, std::ostream& errors) {
  errors << "? " << fault.heading << "\n"
         << "? " << fault.cause << "\n"
         << "? " << fault.operation << "\n";
}

}  // namespace

Fault runTimeFault(std::string cause, std::string operation) {
  return Fault{kRunTimeErrorHeading, std::move(cause), std::move(operation)};
}

Fault endOfInputFault() {
  return runTimeFault("Attempt to read past end of file",
                      "Reading from the keyboard");
}

Fault systemFault(int errorNumber, std::string operation) {
  return Fault{kSystemErrorHeading, std::strerror(errorNumber),
               std::move(operation)};
}

int reportFault(const Fault& fault, FileConnections& files,
                std::ostream& errors) {
  std::optional<Fault> finishing;
  try {
    files.finishAll();
  } catch (const Fault& finishFault) {
    finishing = finishFault;
  }
  writeReport(fault, errors);
  if (finishing) writeReport(*finishing, errors);
  errors.flush();
  return kFaultExitStatus;
}

}  // namespace talvik
