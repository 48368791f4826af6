#ifndef TALVIK_SESSION_PLOTTING_PHASE_H_
#define TALVIK_SESSION_PLOTTING_PHASE_H_

#include "analysis/bootstrap.h"
#include "analysis/resample_generator.h"
#include "session/console/console_reader.h"
#include "session/console/record_destination.h"
#include "session/file_connections.h"

namespace talvik {

// What the plotting phase works with; all of it belongs to the session.
struct PlottingInputs {
  const ObservedSizes& observed;
  const BootstrapResult& result;
  ResampleGenerator& generator;
};

// Asks for the plotting file and a level from 1 to 99, shows the level's
// range, and writes the plotting file and its instructions.
void runPlottingPhase(RecordDestination& screen, ConsoleReader& console,
                      FileConnections& files, const PlottingInputs& inputs);

}  // namespace talvik

#endif  // TALVIK_SESSION_PLOTTING_PHASE_H_
