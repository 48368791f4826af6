#include "session/plotting_phase.h"

#include <cstdint>
#include <optional>
#include <vector>

#include "reports/plotting_file.h"
#include "session/record_writer.h"

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

// The bound resample at `position`, drawn again from its recorded state. With
// no position to plot (every one examined lacks the largest size) the column
// repeats the observed sizes.
std::vector<float> boundResample(std::optional<int> position,
                                 const PlottingInputs& inputs) {
  if (!position) return inputs.observed;
  const double state = inputs.result.orderedState[*position - 1];
  return regenerateResample(inputs.generator, state, inputs.observed);
}

}  // namespace

void runPlottingPhase(RecordDestination& screen, ConsoleReader& console,
                      FileConnections& files, std::string& resultsFileName,
                      const PlottingInputs& inputs) {
  writeRecords(screen, "(' Enter name of file to write plotting data to: ')");
  resultsFileName = console.readText(12);
  RecordDestination& plottingFile = files.connect(resultsFileName);
  writeRecords(screen, "(' ')");

  const int level = readLevel(screen, console);
  const ErrorRange range = errorRange(inputs.result, level);
  writeLevelRange(screen, range);

  const std::vector<float> upper =
      boundResample(selectUpperResample(inputs.result, range), inputs);
  const std::vector<float> lower =
      boundResample(selectLowerResample(inputs.result, range), inputs);

  writePlottingFile(plottingFile, inputs.observed, upper, lower);
  writePlottingInstructions(screen, resultsFileName, level);
}

}  // namespace talvik
