#include "session/console/whole_file.h"

#include <cstdio>
#include <random>
#include <system_error>

#include "session/console/system_file.h"

namespace talvik {
namespace {

FileError systemError(const std::string& path, const std::error_code& error,
                      FileOperation operation) {
  return FileError{path, error.message(), operation};
}

// A name beside `target` for a temporary file, as mkstemp would choose it.
std::string temporaryName(const std::string& target) {
  static constexpr char kLetters[] =
      "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
  std::random_device random;
  std::uniform_int_distribution<std::size_t> letter(0, sizeof kLetters - 2);
  std::string name = target + ".tmp-";
  for (int i = 0; i < 6; ++i) name += kLetters[letter(random)];
  return name;
}

// Removes the temporary file unless it has been renamed into place.
class TemporaryFile {
 public:
  explicit TemporaryFile(const std::string& target) : target_(target) {
    // A name that another file took meanwhile is tried again with another.
    constexpr int kTries = 100;
    std::error_code error;
    for (int i = 0; i < kTries; ++i) {
      path_ = temporaryName(target_);
      file_ = SystemFile(path_, FileOpening::kNewForWriting, error);
      if (error != std::errc::file_exists) break;
    }
    if (error) throw systemError(target_, error, FileOperation::kCreating);
  }
  TemporaryFile(const TemporaryFile&) = delete;
  TemporaryFile& operator=(const TemporaryFile&) = delete;
  ~TemporaryFile() {
    // Closed first: Windows removes no open file.
    std::error_code ignored;
    file_.close(ignored);
    if (!renamed_) std::remove(path_.c_str());
  }

  // Writes the whole text, makes it durable and closes the file.
  void writeAll(std::string_view text) {
    std::error_code error;
    file_.write(text, error);
    if (!error) file_.sync(error);
    if (!error) file_.close(error);
    if (error) throw systemError(target_, error, FileOperation::kWriting);
  }

  // Puts the complete file in place of the target in one step.
  void renameOverTarget() {
    std::error_code error;
    moveFileOver(path_, target_, error);
    if (error)
      throw systemError(target_, error, FileOperation::kPuttingInPlace);
    renamed_ = true;
  }

 private:
  std::string target_;
  std::string path_;
  SystemFile file_;
  bool renamed_ = false;
};

}  // namespace

std::string readWholeFile(const std::string& path) {
  std::error_code error;
  SystemFile file(path, FileOpening::kReadOnly, error);
  if (error) throw systemError(path, error, FileOperation::kOpening);
  // A folder opens for reading; its reading fails the same way everywhere.
  const FileFacts facts = file.facts(error);
  if (!error && facts.isFolder) {
    error = std::make_error_code(std::errc::is_a_directory);
  }
  if (error) throw systemError(path, error, FileOperation::kReading);
  std::string text;
  char buffer[65536];
  for (;;) {
    const std::size_t count = file.read(buffer, sizeof buffer, error);
    if (error) throw systemError(path, error, FileOperation::kReading);
    if (count == 0) break;
    text.append(buffer, count);
  }
  return text;
}

void replaceWholeFile(const std::string& path, std::string_view text) {
  TemporaryFile temporary(path);
  temporary.writeAll(text);
  temporary.renameOverTarget();
}

bool isSameFile(const std::string& first, const std::string& second) {
  const std::optional<FileIdentity> firstIdentity = fileIdentity(first);
  return firstIdentity && firstIdentity == fileIdentity(second);
}

}  // namespace talvik
