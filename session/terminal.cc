#include "session/terminal.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>

#include <cstdio>

namespace talvik {

bool standardErrorIsTerminal() { return _isatty(_fileno(stderr)) != 0; }

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
