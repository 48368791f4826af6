#include "reports/results_report.h"

#include "session/console/record_writer.h"

namespace talvik {

void reportObservedA(RecordDestination& screen, RecordDestination& resultsFile,
                     float observedA, int settlementCount) {
  writeRecords(screen, "(' ')");
  writeRecords(screen, "(' A = ',F7.3,' for ',I4,' settlements observed.')",
               observedA, settlementCount);
  writeRecords(resultsFile, "('A = ',F7.3,' for ',I4,' settlements observed.')",
               observedA, settlementCount);
  writeRecords(screen, "(' '/' Resampling . . .'/)");
}

void reportErrorRanges(RecordDestination& screen,
                       RecordDestination& resultsFile,
                       const BootstrapResult& result,
                       std::string_view resultsFileName) {
  writeRecords(screen, "(' ')");
  writeRecords(resultsFile, "(' ')");
  writeRecords(screen, "(' --Error ranges for A--')");
  writeRecords(resultsFile, "('--Error ranges for A--')");

  for (const int level : kReportedLevels) {
    const ErrorRange range = errorRange(result, level);
    writeRecords(
        screen,
        "(' ',I2,'% Confidence:',F7.3,' to',F7.3,'   (Range=',F7.3,')')",
        range.level, range.lower, range.upper, range.width);
    writeRecords(resultsFile,
                 "(I2,'% Confidence:',F7.3,' to',F7.3,'   (Range=',F7.3,')')",
                 range.level, range.lower, range.upper, range.width);
  }

  writeRecords(screen, "(' ')");
  writeRecords(screen, "(' Results have been written to the file:',A12)",
               resultsFileName);
}

}  // namespace talvik
