#include "session/console/system_file.h"

#include <fcntl.h>
#include <pthread.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>

namespace talvik {
namespace {

std::error_code lastError() { return {errno, systemErrorCategory()}; }

int descriptorOf(std::intptr_t handle) { return static_cast<int>(handle); }

int flagsFor(FileOpening opening) {
  switch (opening) {
    case FileOpening::kReadOnly:
      return O_RDONLY;
    case FileOpening::kReadWrite:
      return O_RDWR;
    case FileOpening::kReadWriteOrCreate:
      return O_RDWR | O_CREAT;
    case FileOpening::kNewForWriting:
      return O_WRONLY | O_CREAT | O_EXCL;
    case FileOpening::kExistingForWriting:
      return O_WRONLY;
  }
  return O_RDONLY;
}

FileIdentity identityOf(const struct stat& status) {
  return {static_cast<std::uint64_t>(status.st_dev),
          static_cast<std::uint64_t>(status.st_ino)};
}

FileFacts factsOf(const struct stat& status) {
  return {identityOf(status), S_ISDIR(status.st_mode) != 0,
          S_ISREG(status.st_mode) != 0,
          static_cast<unsigned>(status.st_mode & 0777)};
}

constexpr int kFatalSignals[] = {SIGINT, SIGTERM, SIGHUP, SIGPIPE, SIGABRT};

void (*fatalSignalCleanUp)() = nullptr;

sigset_t fatalSignalSet() {
  sigset_t set;
  sigemptyset(&set);
  for (const int signal : kFatalSignals) sigaddset(&set, signal);
  return set;
}

void cleanUpAndEnd(int signal) {
  fatalSignalCleanUp();
  // Raised again with the default action, the signal waits until this
  // handler returns, then ends the program.
  struct sigaction action = {};
  action.sa_handler = SIG_DFL;
  sigemptyset(&action.sa_mask);
  ::sigaction(signal, &action, nullptr);
  ::raise(signal);
}

static_assert(sizeof(sigset_t) <= 256, "FatalSignalsHeld keeps a sigset_t");

}  // namespace

const std::error_category& systemErrorCategory() {
  return std::generic_category();
}

SystemFile::SystemFile(const std::string& path, FileOpening opening,
                       std::error_code& error) {
  // The mode, less the umask, is that of a created file.
  const int descriptor =
      ::open(path.c_str(), flagsFor(opening) | O_CLOEXEC, 0666);
  error = descriptor < 0 ? lastError() : std::error_code();
  if (descriptor >= 0) handle_ = descriptor;
}

FileFacts SystemFile::facts(std::error_code& error) const {
  struct stat status;
  if (::fstat(descriptorOf(handle_), &status) != 0) {
    error = lastError();
    return {};
  }
  error.clear();
  return factsOf(status);
}

std::size_t SystemFile::read(char* buffer, std::size_t capacity,
                             std::error_code& error) {
  ssize_t count;
  do {
    count = ::read(descriptorOf(handle_), buffer, capacity);
  } while (count < 0 && errno == EINTR);
  if (count < 0) {
    error = lastError();
    return 0;
  }
  error.clear();
  return static_cast<std::size_t>(count);
}

void SystemFile::write(std::string_view bytes, std::error_code& error) {
  while (!bytes.empty()) {
    const ssize_t count =
        ::write(descriptorOf(handle_), bytes.data(), bytes.size());
    if (count < 0) {
      if (errno == EINTR) continue;
      error = lastError();
      return;
    }
    bytes.remove_prefix(static_cast<std::size_t>(count));
  }
  error.clear();
}

void SystemFile::cut(std::uint64_t size, std::error_code& error) {
  const bool cut =
      ::ftruncate(descriptorOf(handle_), static_cast<off_t>(size)) == 0;
  error = cut ? std::error_code() : lastError();
}

void SystemFile::sync(std::error_code& error) {
  error = ::fsync(descriptorOf(handle_)) == 0 ? std::error_code() : lastError();
}

void SystemFile::setPermissions(unsigned permissions, std::error_code& error) {
  const bool set =
      ::fchmod(descriptorOf(handle_), static_cast<mode_t>(permissions)) == 0;
  error = set ? std::error_code() : lastError();
}

void SystemFile::close(std::error_code& error) {
  error.clear();
  if (handle_ == kClosed) return;
  // The descriptor is released even when close reports a failure.
  if (::close(descriptorOf(handle_)) != 0) error = lastError();
  handle_ = kClosed;
}

std::optional<FileIdentity> fileIdentity(const std::string& path) {
  struct stat status;
  if (::stat(path.c_str(), &status) != 0) return std::nullopt;
  return identityOf(status);
}

std::optional<FileFacts> fileFactsAt(const std::string& path) {
  struct stat status;
  if (::stat(path.c_str(), &status) != 0) return std::nullopt;
  return factsOf(status);
}

std::optional<FileIdentity> standardOutputIdentity() {
  struct stat status;
  if (::fstat(STDOUT_FILENO, &status) != 0) return std::nullopt;
  return identityOf(status);
}

bool namesIgnoreCase() { return false; }

void removeFileQuietly(const char* path) noexcept { ::unlink(path); }

void cleanUpBeforeFatalSignals(void (*cleanUp)()) {
  fatalSignalCleanUp = cleanUp;
  for (const int signal : kFatalSignals) {
    struct sigaction action = {};
    action.sa_handler = cleanUpAndEnd;
    // The others wait while one is handled on this thread.
    action.sa_mask = fatalSignalSet();
    struct sigaction previous = {};
    if (::sigaction(signal, nullptr, &previous) != 0) continue;
    if (previous.sa_handler == SIG_IGN) continue;
    ::sigaction(signal, &action, nullptr);
  }
}

FatalSignalsHeld::FatalSignalsHeld() {
  const sigset_t held = fatalSignalSet();
  sigset_t previous;
  ::pthread_sigmask(SIG_BLOCK, &held, &previous);
  std::memcpy(previous_, &previous, sizeof previous);
}

FatalSignalsHeld::~FatalSignalsHeld() {
  sigset_t previous;
  std::memcpy(&previous, previous_, sizeof previous);
  ::pthread_sigmask(SIG_SETMASK, &previous, nullptr);
}

void moveFileOver(const std::string& from, const std::string& to,
                  std::error_code& error) {
  error = std::rename(from.c_str(), to.c_str()) == 0 ? std::error_code()
                                                     : lastError();
}

}  // namespace talvik
