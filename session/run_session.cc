#include "session/run_session.h"

#include <iostream>
#include <string>

#include "analysis/bootstrap.h"
#include "analysis/observed_sizes.h"
#include "analysis/resample_generator.h"
#include "analysis/size_file.h"
#include "reports/results_report.h"
#include "session/console/console_reader.h"
#include "session/console/fault.h"
#include "session/console/record_writer.h"
#include "session/console/screen.h"
#include "session/fault_report.h"
#include "session/file_connections.h"
#include "session/plotting_phase.h"

namespace talvik {
namespace {

void writeBanner(RecordDestination& screen) {
  writeRecords(screen, "(' ')");
  writeRecords(screen, "(' ')");
  writeRecords(screen, "(' TALVIK')");
  writeRecords(screen, "(' Version of April 17, 2012')");
  writeRecords(screen, "(' ')");
  writeRecords(screen, "(' Written by Quennick')");
  writeRecords(screen, "(' ')");
  writeRecords(screen, "(' File names must have no more than 8 characters;')");
  writeRecords(screen, "(' extensions, no more than 3 (e.g. FILENAME.EXT).')");
  writeRecords(screen, "(' Extensions, if present, must be entered.')");
  writeRecords(screen, "(' ')");
}

// Asks until the answer is a seed the generator can work from. The end of
// input is answered once like an unreadable seed; met again, it is a fault.
double readSeed(RecordDestination& screen, ConsoleReader& console) {
  bool inputEnded = false;
  for (;;) {
    writeRecords(screen,
                 "(' Enter a positive 7-digit integer to seed the random"
                 "       number generator: ')");
    const Answer<double> answer = console.readReal();
    if (answer.kind == Answer<double>::Kind::kValue &&
        isUsableSeed(answer.value)) {
      return answer.value;
    }
    if (answer.kind == Answer<double>::Kind::kEndOfInput) {
      if (inputEnded) throw endOfInputFault();
      inputEnded = true;
    }
    writeRecords(screen, "(' ERROR--TRY AGAIN.')");
  }
}

// The sizes of the size file, largest first, or nothing when the run ends
// here (its message is written).
std::optional<ObservedSizes> readObservedSizes(RecordDestination& screen,
                                               ByteSource& sizeFile) {
  SizeFileReading reading = readSettlementSizes(sizeFile);
  switch (reading.ending) {
    case SizeFileReading::Ending::kReadError:
      writeRecords(screen, "(' Error reading input data file.')");
      return std::nullopt;
    case SizeFileReading::Ending::kTooManySizes:
      writeRecords(screen,
                   "(' File contains sizes for more than 1000 settlements.')");
      writeRecords(screen,
                   "(' Program maximum is 1000. Run statistics on largest"
                   "       1000.')");
      return std::nullopt;
    case SizeFileReading::Ending::kSizesRead:
      break;
  }
  if (reading.sizes.empty()) {
    writeRecords(screen, "(' No settlement sizes found in input data file.')");
    return std::nullopt;
  }
  return orderLargestFirst(reading.sizes);
}

// The dialogue from the banner to the stop. Faults leave it as exceptions.
void runDialogue(RecordDestination& screen, ConsoleReader& console,
                 FileConnections& files) {
  writeBanner(screen);
  writeRecords(screen,
               "(' Enter name of file to read settlement sizes from: ')");
  const std::string sizeFileName = console.readText(12);
  writeRecords(screen, "(' Enter name of file to write results to: ')");
  const std::string resultsFileName = console.readText(12);
  const double seedValue = readSeed(screen, console);
  writeRecords(screen, "(' ')");

  FileConnection& sizeFile = files.connect(sizeFileName);
  FileConnection& resultsFile = files.connect(resultsFileName);

  const std::optional<ObservedSizes> observed =
      readObservedSizes(screen, sizeFile);
  if (!observed) return;

  const float a = observedA(*observed);
  reportObservedA(screen, resultsFile, a, static_cast<int>(observed->size()));
  ResampleGenerator generator(seedValue);
  const BootstrapResult result = runBootstrap(*observed, generator, a);
  reportErrorRanges(screen, resultsFile, result, resultsFileName);

  writeRecords(screen, "(' ')");
  writeRecords(screen,
               "(' To produce an error range for another confidence level,')");
  writeRecords(screen,
               "(' or to produce a data file to plot confidence zones,')");
  writeRecords(screen, "(' type Y now (or just type <Enter> to close):')");
  const std::string modeCode = console.readText(1);
  if (modeCode != "Y" && modeCode != "y") return;

  runPlottingPhase(screen, console, files, {*observed, result, generator});

  writeRecords(screen, "(' ')");
  writeRecords(screen, "(' Type <Enter> to close window:')");
  console.readText(1);
}

}  // namespace

int runSession(std::istream& keyboard, std::ostream& screenStream,
               std::ostream& errors) {
  Screen screen(screenStream);
  ConsoleReader console(keyboard);
  FileConnections files;
  try {
    runDialogue(screen, console, files);
    files.finishAll();
    return 0;
  } catch (const Fault& fault) {
    return reportFault(fault, files, errors);
  }
}

int runSession() {
  std::ios::sync_with_stdio(false);
  return runSession(std::cin, std::cout, std::cerr);
}

}  // namespace talvik
