#include "session/run_session.h"
#include "session/console/terminal.h"

int main() {
  talvik::useBinaryStandardStreams();
  return talvik::runSession();
}
