#ifndef TALVIK_SESSION_CONSOLE_WHOLE_FILE_H_
#define TALVIK_SESSION_CONSOLE_WHOLE_FILE_H_

#include <string>
#include <string_view>

namespace talvik {

// The step of writing an output that the system refused.
enum class FileOperation {
  kCreating,        // creating the temporary file, or opening a device
  kWriting,         // writing, syncing or closing the temporary file
  kPuttingInPlace,  // renaming the temporary file over the target
};

// Writing an output that failed; the caller words it for its own reader.
struct FileError {
  std::string path;
  std::string reason;  // the system's message, e.g. "No such file or directory"
  FileOperation operation;
};

// Puts `text` in place of the file `path` in one step, as OutputFile does
// (without standard output): a file on disk is written to a temporary file in
// its folder, made durable, then renamed over it, keeping its permissions; a
// device or a pipe is written directly. On failure throws FileError
// (kCreating, kWriting or kPuttingInPlace), the temporary file is removed and
// an existing file at `path` is left as it was.
void replaceWholeFile(const std::string& path, std::string_view text);

}  // namespace talvik

#endif  // TALVIK_SESSION_CONSOLE_WHOLE_FILE_H_
