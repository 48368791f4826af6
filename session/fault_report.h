#ifndef TALVIK_SESSION_FAULT_REPORT_H_
#define TALVIK_SESSION_FAULT_REPORT_H_

#include <ostream>

#include "session/console/fault.h"
#include "session/file_connections.h"

namespace talvik {

// Exit status of a run that ends with a fault report: -1, which a POSIX shell
// sees as 255 and Windows as 0xFFFFFFFF.
inline constexpr int kFaultExitStatus = -1;

// Finishes every connected file, then writes the fault report on `errors`:
// "? " and the heading, the cause and the operation, one line each. A fault
// met while finishing the files is reported after the original one.
// Returns kFaultExitStatus.
int reportFault(const Fault& fault, FileConnections& files,
                std::ostream& errors);

}  // namespace talvik

#endif  // TALVIK_SESSION_FAULT_REPORT_H_
