#include "batch/batch_command.h"
#include "session/console/terminal.h"

int main(int argc, char** argv) {
  talvik::useBinaryStandardStreams();
  return talvik::runBatchCommand(argc, argv);
}
