#ifndef TALVIK_BATCH_BATCH_COMMAND_H_
#define TALVIK_BATCH_BATCH_COMMAND_H_

#include <ostream>
#include <string>
#include <vector>

namespace talvik {

// talvik-batch [OPTIONS] FILE...: analyses every file with every seed and
// writes the table on `out` (or the -o file); warnings and errors go to
// `errors`, one line each, "talvik-batch: FILE:LINE: warning: ...". The
// progress line is shown only when `errorsOnTerminal`. Returns the exit
// status: 0 when every analysis succeeded, 1 when any failed, 2 for a usage
// error (nothing analysed).
int runBatchCommand(const std::vector<std::string>& arguments,
                    std::ostream& out, std::ostream& errors,
                    bool errorsOnTerminal);

// The same with the process's arguments and standard streams.
int runBatchCommand(int argc, char** argv);

}  // namespace talvik

#endif  // TALVIK_BATCH_BATCH_COMMAND_H_
