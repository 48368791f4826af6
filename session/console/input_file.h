#ifndef TALVIK_SESSION_CONSOLE_INPUT_FILE_H_
#define TALVIK_SESSION_CONSOLE_INPUT_FILE_H_

#include <cstddef>
#include <optional>
#include <string>

#include "analysis/byte_source.h"
#include "session/console/system_file.h"

namespace talvik {

// A file opened for reading only, read from start to end. Unlike a dialogue
// connection, opening never creates a missing file.
class InputFile : public ByteSource {
 public:
  // Opens `path`, of any length. Throws Fault with the system's message when
  // the file cannot be opened, and "Is a directory" for a folder.
  explicit InputFile(const std::string& path);
  InputFile(const InputFile&) = delete;
  InputFile& operator=(const InputFile&) = delete;
  ~InputFile() override;

  std::optional<std::size_t> read(char* buffer, std::size_t capacity) override;

 private:
  SystemFile file_;
};

}  // namespace talvik

#endif  // TALVIK_SESSION_CONSOLE_INPUT_FILE_H_
