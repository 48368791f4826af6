#ifndef TALVIK_SESSION_TERMINAL_H_
#define TALVIK_SESSION_TERMINAL_H_

namespace talvik {

// True when the process's standard error stream is a terminal, where a
// progress line rewritten in place is welcome; false for a pipe or a file.
bool standardErrorIsTerminal();

}  // namespace talvik

#endif  // TALVIK_SESSION_TERMINAL_H_
