#include "session/console/folder.h"

#include <filesystem>
#include <system_error>

#include "session/console/whole_file.h"

namespace talvik {

void makeFolder(const std::string& path) {
  std::error_code error;
  std::filesystem::create_directories(path, error);
  // A file in the way is no folder either.
  if (!error && !std::filesystem::is_directory(path, error) && !error) {
    error = std::make_error_code(std::errc::not_a_directory);
  }
  if (error) throw FileError{path, error.message(), FileOperation::kCreating};
}

}  // namespace talvik
