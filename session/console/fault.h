#ifndef TALVIK_SESSION_CONSOLE_FAULT_H_
#define TALVIK_SESSION_CONSOLE_FAULT_H_

#include <string>
#include <system_error>

namespace talvik {

// A failure without a retry path. It is thrown where it happens and carried up
// to runSession, which finishes every connected file, writes the fault report
// on the standard error stream and ends the run with exit status -1.
struct Fault {
  std::string heading;  // "System Error:" when the operating system reported it
  std::string cause;    // e.g. "Attempt to read past end of file"
  std::string operation;  // what was being done, and on which connection
};

// Heading of a fault that the operating system reported.
inline constexpr char kSystemErrorHeading[] = "System Error:";
// Heading of a fault that the program itself found.
inline constexpr char kRunTimeErrorHeading[] = "Run-time Error:";

// A fault found by the program, e.g. "Attempt to read past end of file".
Fault runTimeFault(std::string cause, std::string operation);

// The fault of a read from the keyboard after its input has ended.
Fault endOfInputFault();

// A fault the operating system or the C runtime reported; its cause is the
// system's message text.
Fault systemFault(const std::error_code& error, std::string operation);

}  // namespace talvik

#endif  // TALVIK_SESSION_CONSOLE_FAULT_H_
