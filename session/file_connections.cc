#include "session/file_connections.h"

#include <algorithm>
#include <optional>
#include <system_error>
#include <utility>

#include "session/console/fault.h"

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

  std::error_code error;
  std::error_code writeRefusal;
  SystemFile file(name, FileOpening::kReadOnly, error);
  if (error) {
    file = SystemFile(name, FileOpening::kReadWriteOrCreate, error);
    if (error) throw systemFault(error, operation);
  } else {
    SystemFile readWrite(name, FileOpening::kReadWrite, writeRefusal);
    // Refused, the file stays connected through the read-only opening that
    // proved it exists; writing to it will fail for this reason.
    if (!writeRefusal) file = std::move(readWrite);
  }

  const FileFacts facts = file.facts(error);
  if (error) throw systemFault(error, operation);
  for (const std::unique_ptr<FileConnection>& connection : connections_) {
    if (facts.identity && connection->identity_ == facts.identity) {
      throw runTimeFault("File already connected", operation);
    }
  }
  connections_.push_back(std::make_unique<FileConnection>(
      FileConnection::Key(), name, std::move(file), facts, writeRefusal));
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

FileConnection::FileConnection(Key, std::string name, SystemFile file,
                               const FileFacts& facts,
                               std::error_code writeRefusal)
    : name_(std::move(name)),
      file_(std::move(file)),
      identity_(facts.identity),
      regularFile_(facts.isRegular),
      writeRefusal_(writeRefusal) {
  buffer_.reserve(kBufferSize);
}

FileConnection::~FileConnection() = default;

void FileConnection::putRecord(std::string_view record) {
  if (writeRefusal_) {
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
  std::error_code error;
  const std::size_t count = file_.read(buffer, capacity, error);
  if (error) return std::nullopt;
  return count;
}

void FileConnection::writeOut() {
  if (buffer_.empty()) return;
  std::error_code error;
  file_.write(buffer_, error);
  if (error) {
    // Bytes that cannot be written are dropped, so that finishing the file
    // after the fault does not meet the same failure again.
    buffer_.clear();
    throw systemFault(error, operationOn("Writing to file", name_));
  }
  written_ += buffer_.size();
  buffer_.clear();
  // The old content beyond this run's first records goes; devices such as
  // terminals cannot be cut and have nothing to lose.
  if (!cut_) {
    cut_ = true;
    if (regularFile_) {
      file_.cut(written_, error);
      if (error)
        throw systemFault(error, operationOn("Writing to file", name_));
    }
  }
}

void FileConnection::finish() {
  if (!file_.isOpen()) return;
  std::optional<Fault> writeFault;
  try {
    writeOut();
  } catch (const Fault& fault) {
    writeFault = fault;
  }
  std::error_code closeError;
  file_.close(closeError);
  if (writeFault) throw *writeFault;
  if (closeError)
    throw systemFault(closeError, operationOn("Closing file", name_));
}

}  // namespace talvik
