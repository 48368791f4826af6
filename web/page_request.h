#ifndef TALVIK_WEB_PAGE_REQUEST_H_
#define TALVIK_WEB_PAGE_REQUEST_H_

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "batch/csv_sizes.h"

namespace talvik {

// What the page asks of the module, read from the JSON text of one request
// (its payload, a file's bytes, travels beside it). The members each
// command reads:
//   columns  separator                   the header's cells of the payload
//   check    option, text                whether a seed, level or resamples
//                                        value would be taken, and why not
//   reset    -                           forget the files read
//   read     name, csv, positiveOnly,    read the payload as a size file
//            largest
//   run      seeds, plotLevel,           prepare the analyses of every file
//            extraLevel, resamples, unit read, for every seed; with compare,
//            compare                     the comparisons of every file after
//                                        the first with the first instead
//   analyse  index                       run one of them (or comparison)
//   finish   -                           the tables and the chart
struct PageRequest {
  enum class Command {
    kColumns,
    kCheck,
    kReset,
    kRead,
    kRun,
    kAnalyse,
    kFinish
  };
  Command command = Command::kReset;

  char separator = ',';  // columns
  std::string option;    // check: "seed", "level" or "resamples"
  std::string text;      // check

  std::string name;              // read: the file's name as the page shows it
  std::optional<CsvLayout> csv;  // read: unset for a plain size file
  bool positiveOnly = false;     // read
  bool largest = false;          // read

  std::string seeds;              // run: one seed or a range "A..B"
  int plotLevel = 90;             // run
  std::optional<int> extraLevel;  // run
  int resamples = 1000;           // run
  std::string unit;               // run
  bool compare = false;           // run

  std::int64_t index = 0;  // analyse
};

// The request, or why it cannot be followed (`error`). Never throws: a
// request of any shape is either read or refused.
struct ReadRequest {
  PageRequest request;
  std::string error;
};

ReadRequest readPageRequest(std::string_view json);

}  // namespace talvik

#endif  // TALVIK_WEB_PAGE_REQUEST_H_
