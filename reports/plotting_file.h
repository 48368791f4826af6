#ifndef TALVIK_REPORTS_PLOTTING_FILE_H_
#define TALVIK_REPORTS_PLOTTING_FILE_H_

#include <span>
#include <string_view>

#include "analysis/bootstrap.h"
#include "session/console/record_destination.h"

namespace talvik {

// The range of the user's own level, on the screen only.
void writeLevelRange(RecordDestination& screen, const ErrorRange& range);

// The header and one row per rank: the observed size, the reference line
// and the two bound resamples of the level.
// REQUIRES: the level's columns have as many ranks as `observed`
void writePlottingFile(RecordDestination& plottingFile,
                       std::span<const float> observed,
                       const LevelAnalysis& level);

// The notice naming the plotting file and how to draw the confidence zone.
void writePlottingInstructions(RecordDestination& screen,
                               std::string_view plottingFileName, int level);

}  // namespace talvik

#endif  // TALVIK_REPORTS_PLOTTING_FILE_H_
