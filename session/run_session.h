#ifndef TALVIK_SESSION_RUN_SESSION_H_
#define TALVIK_SESSION_RUN_SESSION_H_

#include <istream>
#include <ostream>

namespace talvik {

// Runs the whole dialogue on the given console and returns the exit status:
// 0 at every end of the dialogue, -1 (255 to a POSIX shell) after a fault
// report.
int runSession(std::istream& keyboard, std::ostream& screen,
               std::ostream& errors);

// The same on the process's standard streams.
int runSession();

}  // namespace talvik

#endif  // TALVIK_SESSION_RUN_SESSION_H_
