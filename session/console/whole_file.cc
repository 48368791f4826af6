#include "session/console/whole_file.h"

#include <system_error>

#include "session/console/output_file.h"
#include "session/console/system_file.h"

namespace talvik {
namespace {

FileError systemError(const std::string& path, const std::error_code& error,
                      FileOperation operation) {
  return FileError{path, error.message(), operation};
}

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
  OutputFile output(path, nullptr);
  output.write(text);
  output.finish();
}

bool isSameFile(const std::string& first, const std::string& second) {
  const std::optional<FileFacts> facts = fileFactsAt(first);
  if (!facts || !facts->isRegular || !facts->identity) return false;
  const std::optional<FileFacts> others = fileFactsAt(second);
  return others && others->identity == facts->identity;
}

}  // namespace talvik
