#include "session/console/terminal.h"
#include "session/run_session.h"

int main() {
  talvik::useBinaryStandardStreams();
  return talvik::runSession();
}
