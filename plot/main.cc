#include "plot/plot_command.h"
#include "session/console/terminal.h"

int main(int argc, char** argv) {
  talvik::useBinaryStandardStreams();
  return talvik::runPlotCommand(argc, argv);
}
