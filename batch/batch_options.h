#ifndef TALVIK_BATCH_BATCH_OPTIONS_H_
#define TALVIK_BATCH_BATCH_OPTIONS_H_

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "analysis/bootstrap.h"
#include "batch/batch_analysis.h"
#include "batch/csv_sizes.h"
#include "batch/table_rows.h"

namespace talvik {

// What one call of talvik-batch asks for.
struct BatchOptions {
  std::vector<std::string> files;  // in the order given, at least one
  std::vector<double> seeds;       // in the order given, at least one
  // After the five fixed ones, in the order first given, none of them twice.
  std::vector<int> levels;
  int plotLevel = kDefaultPlotLevel;  // the first --level given, else 90
  bool levelGiven = false;            // whether any --level was given
  int resamples = kResampleCount;     // --resamples: isResampleCount
  std::optional<CsvLayout> csv;       // set with --column
  bool largest = false;
  bool positiveOnly = false;  // sizes without a logarithm are left out
  bool strict = false;
  bool quiet = false;
  bool summary = false;  // one row per file over its seeds
  TableFormat format = TableFormat::kCsv;
  std::string output;      // empty: standard output
  std::string plotFolder;  // empty: no plotting files
  std::string chartFile;   // empty: no chart
  // --label FILE=TEXT: the label of FILE's analyses in the chart, as given.
  std::vector<std::pair<std::string, std::string>> labels;
  std::string unit;                  // --unit: the size axis's unit
  std::optional<std::string> title;  // --title: the --plot pictures' title
  unsigned jobs = 1;
  // --compare: every FILE after the first is compared with the first.
  bool compare = false;
};

// The usage text that --help prints.
extern const char kBatchUsage[];

// What the arguments ask for: a run, the usage, the version, or nothing but
// a usage error (its one-line message, without the program name).
struct ParsedArguments {
  enum class Kind { kRun, kHelp, kVersion, kUsageError };
  Kind kind = Kind::kRun;
  BatchOptions options;  // for kRun
  std::string error;     // for kUsageError
};

// Reads the arguments after the program name. `defaultJobs` is the number of
// threads without -j.
ParsedArguments parseBatchArguments(const std::vector<std::string>& arguments,
                                    unsigned defaultJobs);

}  // namespace talvik

#endif  // TALVIK_BATCH_BATCH_OPTIONS_H_
