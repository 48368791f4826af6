#include "session/input_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "session/fault_report.h"

namespace talvik {

InputFile::InputFile(const std::string& path)
    : descriptor_(open(path.c_str(), O_RDONLY | O_CLOEXEC)) {
  const std::string operation = "Opening file: " + path;
  if (descriptor_ < 0) throw systemFault(errno, operation);
  // A folder opens for reading on Linux; only its first read would fail.
  struct stat status;
  int error = 0;
  if (fstat(descriptor_, &status) != 0) {
    error = errno;
  } else if (S_ISDIR(status.st_mode)) {
    error = EISDIR;
  }
  if (error != 0) {
    close(descriptor_);
    throw systemFault(error, operation);
  }
}

InputFile::~InputFile() { close(descriptor_); }

std::optional<std::size_t> InputFile::read(char* buffer, std::size_t capacity) {
  ssize_t count;
  do {
    count = ::read(descriptor_, buffer, capacity);
  } while (count < 0 && errno == EINTR);
  if (count < 0) return std::nullopt;
  return static_cast<std::size_t>(count);
}

}  // namespace talvik
