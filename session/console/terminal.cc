#include "session/console/terminal.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <cstdio>

namespace talvik {

// Only a console has a console mode: NUL, which _isatty counts as a character
// device, has none. The console obeys the sequence that erases the progress
// line only when told to (Windows 10 and later).
bool standardErrorIsTerminal() {
  const HANDLE console = GetStdHandle(STD_ERROR_HANDLE);
  DWORD mode = 0;
  return GetConsoleMode(console, &mode) &&
         SetConsoleMode(console, mode | ENABLE_VIRTUAL_TERMINAL_PROCESSING);
}

void useBinaryStandardStreams() {
  _setmode(_fileno(stdin), _O_BINARY);
  _setmode(_fileno(stdout), _O_BINARY);
  _setmode(_fileno(stderr), _O_BINARY);
}

}  // namespace talvik
#else
#include <unistd.h>

namespace talvik {

bool standardErrorIsTerminal() { return isatty(STDERR_FILENO) == 1; }

// POSIX streams carry bytes unchanged already.
void useBinaryStandardStreams() {}

}  // namespace talvik
#endif
