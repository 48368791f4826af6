#ifndef TALVIK_ANALYSIS_TEXT_SOURCE_H_
#define TALVIK_ANALYSIS_TEXT_SOURCE_H_

#include <algorithm>
#include <cstddef>
#include <optional>
#include <string_view>

#include "analysis/byte_source.h"

namespace talvik {

// A whole text handed out as a file's bytes: a file read into memory, or a
// file made in memory, read as any file is.
class TextSource : public ByteSource {
 public:
  explicit TextSource(std::string_view bytes) : bytes_(bytes) {}

  std::optional<std::size_t> read(char* buffer, std::size_t capacity) override {
    const std::size_t count = std::min(capacity, bytes_.size());
    std::copy_n(bytes_.data(), count, buffer);
    bytes_.remove_prefix(count);
    return count;
  }

 private:
  std::string_view bytes_;
};

}  // namespace talvik

#endif  // TALVIK_ANALYSIS_TEXT_SOURCE_H_
