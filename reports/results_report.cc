#include "reports/results_report.h"

#include "session/record_writer.h"

namespace talvik {

namespace {

// The range records of the five fixed levels, screen and file twins.
struct RangeRecords {
  int level;
  FormatText<float, float, float> screen;
  FormatText<float, float, float> file;
};

constexpr RangeRecords kRangeRecords[] = {
    {99, "(' 99% Confidence:',F7.3,' to',F7.3,'   (Range=',F7.3,')')",
     "('99% Confidence:',F7.3,' to',F7.3,'   (Range=',F7.3,')')"},
    {95, "(' 95% Confidence:',F7.3,' to',F7.3,'   (Range=',F7.3,')')",
     "('95% Confidence:',F7.3,' to',F7.3,'   (Range=',F7.3,')')"},
    {90, "(' 90% Confidence:',F7.3,' to',F7.3,'   (Range=',F7.3,')')",
     "('90% Confidence:',F7.3,' to',F7.3,'   (Range=',F7.3,')')"},
    {80, "(' 80% Confidence:',F7.3,' to',F7.3,'   (Range=',F7.3,')')",
     "('80% Confidence:',F7.3,' to',F7.3,'   (Range=',F7.3,')')"},
    {66, "(' 66% Confidence:',F7.3,' to',F7.3,'   (Range=',F7.3,')')",
     "('66% Confidence:',F7.3,' to',F7.3,'   (Range=',F7.3,')')"},
};

}  // namespace

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

  for (const RangeRecords& records : kRangeRecords) {
    const ErrorRange range = errorRange(result, records.level);
    writeRecords(screen, records.screen, range.lower, range.upper, range.width);
    writeRecords(resultsFile, records.file, range.lower, range.upper,
                 range.width);
  }

  writeRecords(screen, "(' ')");
  writeRecords(screen, "(' Results have been written to the file:',A12)",
               resultsFileName);
}

}  // namespace talvik
