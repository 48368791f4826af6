#include "session/run_session.h"
#include "session/terminal.h"

int main() {
  talvik::useBinaryStandardStreams();
  return talvik::runSession();
}
