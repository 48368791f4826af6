#include "session/whole_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace talvik {
namespace {

FileError systemError(const std::string& path, int errorNumber,
                      FileOperation operation) {
  return FileError{path, std::strerror(errorNumber), operation};
}

// A file created here gets the permissions a new file would get (rw for
// everyone the umask allows), not the owner-only ones of mkstemp. The umask
// can only be read by setting it, so it is read once, and the initialisation
// of a static keeps threads that write files at the same time from meeting a
// umask of 0.
mode_t newFileMode() {
  static const mode_t kMode = [] {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return static_cast<mode_t>(0666 & ~mask);
  }();
  return kMode;
}

// Removes the temporary file unless it has been renamed into place.
class TemporaryFile {
 public:
  explicit TemporaryFile(const std::string& target)
      : target_(target), path_(target + ".tmp-XXXXXX") {
    fd_ = ::mkstemp(path_.data());
    if (fd_ < 0) throw systemError(target_, errno, FileOperation::kCreating);
  }
  TemporaryFile(const TemporaryFile&) = delete;
  TemporaryFile& operator=(const TemporaryFile&) = delete;
  ~TemporaryFile() {
    if (fd_ >= 0) ::close(fd_);
    if (!renamed_) ::unlink(path_.c_str());
  }

  // Writes the whole text, makes it durable and closes the file.
  void writeAll(std::string_view text) {
    if (::fchmod(fd_, newFileMode()) != 0) failWriting();
    while (!text.empty()) {
      const ssize_t count = ::write(fd_, text.data(), text.size());
      if (count < 0) {
        if (errno == EINTR) continue;
        failWriting();
      }
      text.remove_prefix(static_cast<std::size_t>(count));
    }
    if (::fsync(fd_) != 0) failWriting();
    const int fd = fd_;
    fd_ = -1;
    if (::close(fd) != 0) failWriting();
  }

  // Puts the complete file in place of the target in one step.
  void renameOverTarget() {
    if (std::rename(path_.c_str(), target_.c_str()) != 0) {
      throw systemError(target_, errno, FileOperation::kPuttingInPlace);
    }
    renamed_ = true;
  }

 private:
  [[noreturn]] void failWriting() const {
    throw systemError(target_, errno, FileOperation::kWriting);
  }

  std::string target_;
  std::string path_;
  int fd_ = -1;
  bool renamed_ = false;
};

}  // namespace

std::string readWholeFile(const std::string& path) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) throw systemError(path, errno, FileOperation::kOpening);
  std::string text;
  char buffer[65536];
  for (;;) {
    const ssize_t count = ::read(fd, buffer, sizeof buffer);
    if (count == 0) break;
    if (count < 0) {
      if (errno == EINTR) continue;
      const int error = errno;
      ::close(fd);
      throw systemError(path, error, FileOperation::kReading);
    }
    text.append(buffer, static_cast<std::size_t>(count));
  }
  ::close(fd);
  return text;
}

void replaceWholeFile(const std::string& path, std::string_view text) {
  TemporaryFile temporary(path);
  temporary.writeAll(text);
  temporary.renameOverTarget();
}

bool isSameFile(const std::string& first, const std::string& second) {
  struct stat firstStatus;
  struct stat secondStatus;
  return ::stat(first.c_str(), &firstStatus) == 0 &&
         ::stat(second.c_str(), &secondStatus) == 0 &&
         firstStatus.st_dev == secondStatus.st_dev &&
         firstStatus.st_ino == secondStatus.st_ino;
}

}  // namespace talvik
