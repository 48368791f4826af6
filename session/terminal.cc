#include "session/terminal.h"

#include <unistd.h>

namespace talvik {

bool standardErrorIsTerminal() { return isatty(STDERR_FILENO) == 1; }

}  // namespace talvik
