#include "session/fault_report.h"

#include <optional>

#include "session/console/shown_text.h"

namespace talvik {
namespace {

void writeReport(const Fault& fault, std::ostream& errors) {
  errors << "? " << fault.heading << "\n"
         << "? " << fault.cause << "\n"
         << "? " << shownText(fault.operation) << "\n";
}

}  // namespace

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
