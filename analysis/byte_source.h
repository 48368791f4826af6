#ifndef TALVIK_ANALYSIS_BYTE_SOURCE_H_
#define TALVIK_ANALYSIS_BYTE_SOURCE_H_

#include <cstddef>
#include <optional>

namespace talvik {

// Where the size file's bytes come from. The session supplies one over the
// connected file; tests supply one over a string.
class ByteSource {
 public:
  virtual ~ByteSource() = default;
  // Reads up to `capacity` bytes into `buffer`. Returns the number read (0 at
  // the end of the file), or std::nullopt when the operating system refuses.
  virtual std::optional<std::size_t> read(char* buffer,
                                          std::size_t capacity) = 0;
};

}  // namespace talvik

#endif  // TALVIK_ANALYSIS_BYTE_SOURCE_H_
