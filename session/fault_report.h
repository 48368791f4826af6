#ifndef TALVIK_SESSION_FAULT_REPORT_H_
#define TALVIK_SESSION_FAULT_REPORT_H_

#include <ostream>
#include <string>
#include <system_error>

#include "session/fault.h"
#include "session/file_connections.h"

namespace talvik {

// Heading of a fault that the operating system reported.
inline constexpr char kSystemErrorHeading[] = "System Error:";
// Heading of a fault that the program itself found.
inline constexpr char kRunTimeErrorHeading[] = "Run-time Error:";
// Exit status of a run that ends with a fault report: -1, which a POSIX shell
// sees as 255 and Windows as 0xFFFFFFFF.
inline constexpr int kFaultExitStatus = -1;

// A fault found by the program, e.g. "Attempt to read past end of file".
Fault runTimeFault(std::string cause, std::string operation);

// The fault of a read from the keyboard after its input has ended.
Fault endOfInputFault();

// A fault the operating system or the C runtime reported; its cause is the
// system's message text.
Fault systemFault(const std::error_code& error, std::string operation);

// Finishes every connected file, then writes the fault report on `errors`:
// "? " and the heading, the cause and the operation, one line each. A fault
// met while finishing the files is reported after the original one.
// Returns kFaultExitStatus.
int reportFault(const Fault& fault, FileConnections& files,
                std::ostream& errors);

}  // namespace talvik

#endif  // TALVIK_SESSION_FAULT_REPORT_H_
