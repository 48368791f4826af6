#include "session/file_connections.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <optional>
#include <utility>

#include "session/fault.h"
#include "session/fault_report.h"

namespace talvik {
namespace {

constexpr std::size_t kBufferSize = 8192;

// The file name a typed field stands for: the field without its leading and
// trailing blanks.
std::string_view trimmedName(std::string_view field) {
  const std::size_t first = field.find_first_not_of(' ');
  if (first == std::string_view::npos) return {};
  return field.substr(first, field.find_last_not_of(' ') - first + 1);
}

// The operation line of a fault, e.g. "Connecting file: SIZES.TXT".
std::string operationOn(std::string_view what, std::string_view name) {
  std::string operation(what);
  if (!name.empty()) {
    operation += ": ";
    operation += name;
  } else {
    operation += ":";
  }
  return operation;
}

}  // namespace

FileConnections::FileConnections() = default;

FileConnections::~FileConnections() = default;

FileConnection& FileConnections::connect(std::string_view nameField) {
  const std::string name(trimmedName(nameField));
  const std::string operation = operationOn("Connecting file", name);
  // The system cannot take a name with a NUL character in it.
  if (name.empty() || name.find('\0') != std::string::npos) {
    throw runTimeFault("Bad file specification", operation);
  }

  int writeRefusal = 0;
  int descriptor = open(name.c_str(), O_RDONLY | O_CLOEXEC);
  if (descriptor < 0) {
    descriptor = open(name.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    if (descriptor < 0) {
      const int error = errno;
      throw systemFault(error, operation);
    }
  } else {
    const int readWrite = open(name.c_str(), O_RDWR | O_CLOEXEC);
    if (readWrite >= 0) {
      close(descriptor);
      descriptor = readWrite;
    } else {
      // The file stays connected through the read-only descriptor that
      // proved it exists; writing to it will fail for this reason.
      writeRefusal = errno;
    }
  }

  struct stat status;
  if (fstat(descriptor, &status) != 0) {
    const int error = errno;
    close(descriptor);
    throw systemFault(error, operation);
  }
  for (const std::unique_ptr<FileConnection>& connection : connections_) {
    if (connection->isSameFile(status)) {
      close(descriptor);
      throw runTimeFault("File already connected", operation);
    }
  }
  connections_.push_back(std::make_unique<FileConnection>(
      FileConnection::Key(), name, descriptor, status, writeRefusal));
  return *connections_.back();
}

void FileConnections::finishAll() {
  std::optional<Fault> first;
  for (const std::unique_ptr<FileConnection>& connection : connections_) {
    try {
      connection->finish();
    } catch (const Fault& fault) {
      if (!first) first = fault;
    }
  }
  if (first) throw *first;
}

FileConnection::FileConnection(Key, std::string name, int descriptor,
                               const struct stat& status, int writeRefusal)
    : name_(std::move(name)),
      descriptor_(descriptor),
      device_(status.st_dev),
      inode_(status.st_ino),
      regularFile_(S_ISREG(status.st_mode)),
      writeRefusal_(writeRefusal) {
  buffer_.reserve(kBufferSize);
}

FileConnection::~FileConnection() {
  if (descriptor_ >= 0) close(descriptor_);
}

bool FileConnection::isSameFile(const struct stat& status) const {
  return status.st_dev == device_ && status.st_ino == inode_;
}

void FileConnection::putRecord(std::string_view record) {
  if (writeRefusal_ != 0) {
    throw systemFault(writeRefusal_, operationOn("Writing to file", name_));
  }
  while (!record.empty()) {
    const std::size_t part =
        std::min(record.size(), kBufferSize - buffer_.size());
    buffer_.append(record.substr(0, part));
    record.remove_prefix(part);
    if (buffer_.size() == kBufferSize) writeOut();
  }
}

std::optional<std::size_t> FileConnection::read(char* buffer,
                                                std::size_t capacity) {
  ssize_t count;
  do {
    count = ::read(descriptor_, buffer, capacity);
  } while (count < 0 && errno == EINTR);
  if (count < 0) return std::nullopt;
  return static_cast<std::size_t>(count);
}

void FileConnection::writeOut() {
  if (buffer_.empty()) return;
  std::string_view rest = buffer_;
  while (!rest.empty()) {
    const ssize_t count = write(descriptor_, rest.data(), rest.size());
    if (count < 0) {
      if (errno == EINTR) continue;
      const int error = errno;
      // Bytes that cannot be written are dropped, so that finishing the file
      // after the fault does not meet the same failure again.
      buffer_.clear();
      throw systemFault(error, operationOn("Writing to file", name_));
    }
    rest.remove_prefix(static_cast<std::size_t>(count));
    written_ += count;
  }
  buffer_.clear();
  // The old content beyond this run's first records goes; devices such as
  // terminals cannot be cut and have nothing to lose.
  if (!cut_) {
    cut_ = true;
    if (regularFile_ && ftruncate(descriptor_, written_) != 0) {
      const int error = errno;
      throw systemFault(error, operationOn("Writing to file", name_));
    }
  }
}

void FileConnection::finish() {
  if (descriptor_ < 0) return;
  std::optional<Fault> writeFault;
  try {
    writeOut();
  } catch (const Fault& fault) {
    writeFault = fault;
  }
  const int closeResult = close(descriptor_);
  const int closeError = errno;
  descriptor_ = -1;
  if (writeFault) throw *writeFault;
  if (closeResult != 0) {
    throw systemFault(closeError, operationOn("Closing file", name_));
  }
}

}  // namespace talvik
