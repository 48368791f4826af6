#include "session/console/output_file.h"

#include <filesystem>
#include <random>
#include <system_error>

#include "session/console/output_place.h"
#include "session/console/temporary_files.h"

namespace talvik {
namespace {

// Text is written to the file in pieces of about this size.
constexpr std::size_t kBufferSize = 65536;

// A temporary name in the folder of `target`, as mkstemp would choose it.
// It is short, so that it fits wherever the target's name fits.
std::string temporaryName(const std::string& target) {
  static constexpr char kLetters[] =
      "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
  std::random_device random;
  std::uniform_int_distribution<std::size_t> letter(0, sizeof kLetters - 2);
  std::string name = "talvik-";
  for (int i = 0; i < 6; ++i) name += kLetters[letter(random)];
  name += ".tmp";
  return (std::filesystem::path(target).parent_path() / name).string();
}

}  // namespace

OutputFile::OutputFile(const std::string& path, std::ostream* standardOutput)
    : path_(path), standardOutput_(standardOutput) {
  if (standardOutput_ != nullptr && path == "-") {
    kind_ = Kind::kStandardOutput;
    return;
  }
  // The system follows the links of an existing file, even those that name
  // no file (a pipe's, under /proc); a file on disk is replaced by the name
  // its links lead to.
  const std::optional<FileFacts> existing = fileFactsAt(path);
  if (standardOutput_ != nullptr && existing && existing->identity &&
      existing->identity == standardOutputIdentity()) {
    kind_ = Kind::kStandardOutput;
  } else if (existing && !existing->isRegular && !existing->isFolder) {
    kind_ = Kind::kDirect;
    std::error_code error;
    file_ = SystemFile(path, FileOpening::kExistingForWriting, error);
    if (error) fail(error, FileOperation::kCreating);
  } else {
    startReplacement(followLinks(path), existing);
  }
}

OutputFile::~OutputFile() {
  if (!done_) abandon();
}

void OutputFile::startReplacement(const std::string& target,
                                  const std::optional<FileFacts>& existing) {
  target_ = target;
  // A name that another file took meanwhile is tried again with another.
  constexpr int kTries = 100;
  std::error_code error;
  {
    TemporaryCreation creation;
    for (int i = 0; i < kTries; ++i) {
      temporary_ = temporaryName(target_);
      file_ = SystemFile(temporary_, FileOpening::kNewForWriting, error);
      if (error != std::errc::file_exists) break;
    }
    if (!error) ticket_ = creation.remember(temporary_);
  }
  if (error) {
    temporary_.clear();
    fail(error, FileOperation::kCreating);
  }
  if (existing && existing->isRegular) {
    file_.setPermissions(existing->permissions, error);
    if (error) fail(error, FileOperation::kCreating);
  }
}

void OutputFile::write(std::string_view text) {
  if (kind_ == Kind::kStandardOutput) {
    standardOutput_->write(text.data(),
                           static_cast<std::streamsize>(text.size()));
    return;
  }
  buffer_.append(text);
  if (buffer_.size() >= kBufferSize) writeBuffer();
}

void OutputFile::finish() {
  std::error_code error;
  if (kind_ == Kind::kStandardOutput) {
    standardOutput_->flush();
    done_ = true;
    if (!*standardOutput_) {
      fail(std::make_error_code(std::errc::io_error), FileOperation::kWriting);
    }
    return;
  }
  writeBuffer();
  // Pipes and terminals cannot be made durable.
  if (kind_ == Kind::kReplacement) file_.sync(error);
  if (!error) file_.close(error);
  if (error) fail(error, FileOperation::kWriting);
  if (kind_ == Kind::kReplacement) {
    moveFileOver(temporary_, target_, error);
    if (error) fail(error, FileOperation::kPuttingInPlace);
    forgetTemporary(ticket_);
  }
  done_ = true;
}

void OutputFile::writeBuffer() {
  std::error_code error;
  file_.write(buffer_, error);
  buffer_.clear();
  if (error) fail(error, FileOperation::kWriting);
}

void OutputFile::abandon() noexcept {
  done_ = true;
  buffer_.clear();
  // Closed first: Windows removes no open file.
  std::error_code ignored;
  file_.close(ignored);
  if (!temporary_.empty()) {
    removeFileQuietly(temporary_.c_str());
    forgetTemporary(ticket_);
    temporary_.clear();
  }
}

void OutputFile::fail(const std::error_code& error, FileOperation operation) {
  abandon();
  throw FileError{path_, error.message(), operation};
}

}  // namespace talvik
