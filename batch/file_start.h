#ifndef TALVIK_BATCH_FILE_START_H_
#define TALVIK_BATCH_FILE_START_H_

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "analysis/byte_source.h"

namespace talvik {

// Hands a file's bytes on and keeps the start of its first line, so that a
// size file the size-file rules cannot read can be told apart: a text saved
// with a byte-order mark, or a CSV export with its header row.
class FileStart : public ByteSource {
 public:
  explicit FileStart(ByteSource& file) : file_(file) {}

  std::optional<std::size_t> read(char* buffer, std::size_t capacity) override;

  // The file starts with the UTF-8 byte-order mark EF BB BF.
  bool byteOrderMark() const;
  // The first line after any byte-order mark, its first kKeptBytes.
  std::string_view firstLine() const;
  // When the first line looks like a CSV header (starting with a letter or
  // a quote, and holding a comma, semicolon or tab), the first of those
  // separators in it.
  std::optional<char> headerSeparator() const;

  static constexpr std::size_t kKeptBytes = 80;

 private:
  ByteSource& file_;
  std::string start_;  // the first line's first bytes, with the mark
  bool lineEnded_ = false;
};

}  // namespace talvik

#endif  // TALVIK_BATCH_FILE_START_H_
