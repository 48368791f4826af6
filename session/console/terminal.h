#ifndef TALVIK_SESSION_CONSOLE_TERMINAL_H_
#define TALVIK_SESSION_CONSOLE_TERMINAL_H_

namespace talvik {

// True when the process's standard error stream is a terminal, where a
// progress line rewritten in place is welcome; false for a pipe or a file.
// A Windows console is set to obey the terminal's sequences for it.
bool standardErrorIsTerminal();

// Makes the process's standard streams carry bytes unchanged, as POSIX
// streams do: records end CR LF, never CR CR LF, and a CR LF or a Ctrl-Z byte
// in redirected input reaches the reader as it is, not translated by Windows
// text mode. Call it before the first read or write.
void useBinaryStandardStreams();

}  // namespace talvik

#endif  // TALVIK_SESSION_CONSOLE_TERMINAL_H_
