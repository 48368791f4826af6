#include "batch/batch_command.h"

int main(int argc, char** argv) { return talvik::runBatchCommand(argc, argv); }
