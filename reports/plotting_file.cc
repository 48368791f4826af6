#include "reports/plotting_file.h"

#include <cstddef>

#include "session/console/record_writer.h"

namespace talvik {

void writeLevelRange(RecordDestination& screen, const ErrorRange& range) {
  writeRecords(screen,
               "(I4,'% Confidence:',F7.3,' to',F7.3,'   (Range=',F7.3,')')",
               range.level, range.lower, range.upper, range.width);
}

void writePlottingFile(RecordDestination& plottingFile,
                       std::span<const float> observed,
                       const LevelAnalysis& level) {
  // Parsed once, not rebuilt for each of up to 1000 rows.
  static constexpr FormatText<int, float, float, float, float> kRow(
      "(I4,',',F15.4,',',F15.4,',',F15.4,',',F15.4)");
  writeRecords(plottingFile, "('RANK,SETSIZE,LOGNORM,SIZEUP,SIZELO')");
  for (std::size_t i = 0; i < observed.size(); ++i) {
    writeRecords(plottingFile, kRow, static_cast<int>(i) + 1, observed[i],
                 level.referenceLine[i], level.upperResample[i],
                 level.lowerResample[i]);
  }
}

void writePlottingInstructions(RecordDestination& screen,
                               std::string_view plottingFileName, int level) {
  writeRecords(screen, "(' ')");
  writeRecords(screen,
               "(' Data for plotting have been written to the file:',A12)",
               plottingFileName);
  writeRecords(screen, "(' ')");
  writeRecords(screen,
               "(' Use statistics software to transform all five variables')");
  writeRecords(screen,
               "(' into their logarithms. Then plot RANK on the X-axis')");
  writeRecords(screen, "(' against the other four variables on the Y-axis,')");
  writeRecords(screen, "(' with all four lines overlaid on the same graph,')");
  writeRecords(screen,
               "(' for a plot with approximate ',I2,'% confidence zone.')",
               level);
}

}  // namespace talvik
