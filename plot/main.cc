#include "plot/plot_command.h"

int main(int argc, char** argv) { return talvik::runPlotCommand(argc, argv); }
