#include "batch/batch_command.h"

#include <iostream>
#include <string>
#include <thread>

#include "batch/batch_messages.h"
#include "batch/batch_options.h"
#include "batch/batch_run.h"
#include "batch/comparison_run.h"
#include "batch/output_files.h"
#include "session/console/memory_failure.h"
#include "session/console/terminal.h"

namespace talvik {
namespace {

constexpr int kAllSucceeded = 0;
constexpr int kSomeFailed = 1;
constexpr int kUsageError = 2;

}  // namespace

int runBatchCommand(const std::vector<std::string>& arguments,
                    std::ostream& out, std::ostream& errors,
                    bool errorsOnTerminal) {
  const ParsedArguments parsed =
      parseBatchArguments(arguments, std::thread::hardware_concurrency());
  switch (parsed.kind) {
    case ParsedArguments::Kind::kHelp:
      out << kBatchUsage;
      return kAllSucceeded;
    case ParsedArguments::Kind::kVersion:
      out << "talvik-batch " << TALVIK_VERSION << "\n";
      return kAllSucceeded;
    case ParsedArguments::Kind::kUsageError:
      errors << usageErrorLine(parsed.error);
      return kUsageError;
    case ParsedArguments::Kind::kRun:
      break;
  }
  const std::string clash = outputClash(parsed.options);
  if (!clash.empty()) {
    errors << usageErrorLine(clash);
    return kUsageError;
  }
  const bool succeeded =
      parsed.options.compare
          ? runComparison(parsed.options, out, errors, errorsOnTerminal)
          : runBatch(parsed.options, out, errors, errorsOnTerminal);
  return succeeded ? kAllSucceeded : kSomeFailed;
}

int runBatchCommand(int argc, char** argv) {
  std::ios::sync_with_stdio(false);
  return runReportingMemoryFailure("talvik-batch", std::cerr, [&] {
    return runBatchCommand(std::vector<std::string>(argv + 1, argv + argc),
                           std::cout, std::cerr, standardErrorIsTerminal());
  });
}

}  // namespace talvik
