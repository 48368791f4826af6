#ifndef TALVIK_SESSION_CONSOLE_OUTPUT_FILE_H_
#define TALVIK_SESSION_CONSOLE_OUTPUT_FILE_H_

#include <ostream>
#include <string>
#include <string_view>

#include "session/console/system_file.h"
#include "session/console/whole_file.h"

namespace talvik {

// An output written piece by piece and put in place only once complete.
// Where it goes depends on what its name leads to:
// - "-", or the file standard output writes to (/dev/stdout say), when a
//   standard output stream is given: that stream;
// - an existing file that is no file on disk (a device such as /dev/null, a
//   pipe): that file, written directly;
// - otherwise a file on disk, symbolic links followed: a temporary file with
//   a short name in the same folder, renamed over it once complete. An
//   existing file keeps its permissions; a new one gets those a new file
//   gets (on POSIX 0666 less the umask).
// An output not finished (a failure, an exception, a signal that ends the
// program) leaves no temporary file, and an existing file as it was.
class OutputFile {
 public:
  // Throws FileError (kCreating) when the output cannot be started.
  // `standardOutput` may be null: the name then always names a file.
  OutputFile(const std::string& path, std::ostream* standardOutput);
  OutputFile(const OutputFile&) = delete;
  OutputFile& operator=(const OutputFile&) = delete;
  ~OutputFile();

  bool isStandardOutput() const { return kind_ == Kind::kStandardOutput; }

  // Adds `text`. Throws FileError (kWriting).
  void write(std::string_view text);
  // Completes the output and puts it in place. Throws FileError (kWriting or
  // kPuttingInPlace); the output is then abandoned.
  void finish();

 private:
  enum class Kind { kStandardOutput, kDirect, kReplacement };

  void startReplacement(const std::string& target,
                        const std::optional<FileFacts>& existing);
  void writeBuffer();
  void abandon() noexcept;
  [[noreturn]] void fail(const std::error_code& error, FileOperation operation);

  std::string path_;    // as given, for messages
  std::string target_;  // the file replaced, links followed
  std::string temporary_;
  Kind kind_ = Kind::kReplacement;
  std::ostream* standardOutput_;
  SystemFile file_;
  int ticket_ = -1;
  std::string buffer_;
  bool done_ = false;
};

}  // namespace talvik

#endif  // TALVIK_SESSION_CONSOLE_OUTPUT_FILE_H_
