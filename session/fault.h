#ifndef TALVIK_SESSION_FAULT_H_
#define TALVIK_SESSION_FAULT_H_

#include <string>

namespace talvik {

// A failure without a retry path. It is thrown where it happens and carried up
// to runSession, which finishes every connected file, writes the fault report
// on the standard error stream and ends the run with exit status -1.
struct Fault {
  std::string heading;  // "System Error:" when the operating system reported it
  std::string cause;    // e.g. "Attempt to read past end of file"
  std::string operation;  // what was being done, and on which connection
};

}  // namespace talvik

#endif  // TALVIK_SESSION_FAULT_H_
