#include "session/plotting_phase.h"

#include <cstdint>
#include <string>

#include "reports/plotting_file.h"
#include "session/console/record_writer.h"

namespace talvik {
namespace {

// Asks until the level lies from 1 to 99. A number too long for 32 bits is
// just another level out of range.
int readLevel(RecordDestination& screen, ConsoleReader& console) {
  for (;;) {
    writeRecords(screen,
                 "(' Enter desired confidence level % (as an integer')");
    writeRecords(screen, "(' between 1 and 99):')");
    const std::int64_t level = console.readWhole();
    if (level >= 1 && level <= 99) return static_cast<int>(level);
    writeRecords(screen, "(' ERROR--TRY AGAIN.')");
  }
}

}  // namespace

void runPlottingPhase(RecordDestination& screen, ConsoleReader& console,
                      FileConnections& files, const PlottingInputs& inputs) {
  writeRecords(screen, "(' Enter name of file to write plotting data to: ')");
  const std::string plottingFileName = console.readText(12);
  RecordDestination& plottingFile = files.connect(plottingFileName);
  writeRecords(screen, "(' ')");
  const int level = readLevel(screen, console);
  const LevelAnalysis analysis =
      analyseLevel(inputs.observed, inputs.result, inputs.generator, level);
  writeLevelRange(screen, analysis.range);
  writePlottingFile(plottingFile, inputs.observed, analysis);
  writePlottingInstructions(screen, plottingFileName, level);
}

}  // namespace talvik
