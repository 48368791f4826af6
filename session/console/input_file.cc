#include "session/console/input_file.h"

#include <system_error>

#include "session/console/fault.h"

namespace talvik {

InputFile::InputFile(const std::string& path) {
  const std::string operation = "Opening file: " + path;
  std::error_code error;
  file_ = SystemFile(path, FileOpening::kReadOnly, error);
  if (error) throw systemFault(error, operation);
  // A folder opens for reading; only its first read would fail.
  const FileFacts facts = file_.facts(error);
  if (!error && facts.isFolder) {
    error = std::make_error_code(std::errc::is_a_directory);
  }
  if (error) throw systemFault(error, operation);
}

InputFile::~InputFile() = default;

std::optional<std::size_t> InputFile::read(char* buffer, std::size_t capacity) {
  std::error_code error;
  const std::size_t count = file_.read(buffer, capacity, error);
  if (error) return std::nullopt;
  return count;
}

}  // namespace talvik
