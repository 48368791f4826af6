#ifndef TALVIK_WEB_SPAN_SOURCE_H_
#define TALVIK_WEB_SPAN_SOURCE_H_

#include <algorithm>
#include <cstddef>
#include <optional>
#include <string_view>

#include "analysis/byte_source.h"

namespace talvik {

// A file's bytes handed over whole by the page, read as any file is.
class SpanSource : public ByteSource {
 public:
  explicit SpanSource(std::string_view bytes) : bytes_(bytes) {}

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

#endif  // TALVIK_WEB_SPAN_SOURCE_H_
