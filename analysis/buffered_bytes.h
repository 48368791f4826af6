#ifndef TALVIK_ANALYSIS_BUFFERED_BYTES_H_
#define TALVIK_ANALYSIS_BUFFERED_BYTES_H_

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "analysis/byte_source.h"

namespace talvik {

// The bytes of a ByteSource handed out one at a time through one fixed
// buffer, so that a file of any length is read in bounded memory, with the
// line they stand on counted. Once the source has ended or refused a read it
// is not asked again.
class BufferedBytes {
 public:
  static constexpr int kEndOfFile = -1;
  static constexpr int kFailure = -2;  // the system refused a read
  static constexpr std::size_t kDefaultCapacity = 64 * 1024;

  // REQUIRES: capacity >= 1
  explicit BufferedBytes(ByteSource& file,
                         std::size_t capacity = kDefaultCapacity)
      : file_(file), buffer_(capacity) {}

  // The next byte as an unsigned char, or kEndOfFile or kFailure once every
  // byte before them has been handed out.
  int next() {
    if (position_ == filled_ && !fill(1)) return ending();
    const char c = buffer_[position_++];
    if (c == '\n') ++lineEnds_;
    return static_cast<unsigned char>(c);
  }

  // What next() would return, without taking it.
  int peek() {
    if (position_ == filled_ && !fill(1)) return ending();
    return static_cast<unsigned char>(buffer_[position_]);
  }

  // Takes the next bytes when they are `bytes`; otherwise takes none.
  // REQUIRES: bytes.size() <= the capacity
  bool skipIfNext(std::string_view bytes);

  // The line of the next byte, counted from 1.
  std::int64_t line() const { return lineEnds_ + 1; }

 private:
  // Reads until `wanted` bytes wait in the buffer or the source has ended,
  // keeping those not yet handed out; false when fewer than `wanted` wait.
  bool fill(std::size_t wanted);
  int ending() const { return failed_ ? kFailure : kEndOfFile; }

  ByteSource& file_;
  std::vector<char> buffer_;
  std::size_t position_ = 0;  // of the next byte
  std::size_t filled_ = 0;    // bytes in the buffer, handed out or not
  bool ended_ = false;
  bool failed_ = false;
  std::int64_t lineEnds_ = 0;
};

}  // namespace talvik

#endif  // TALVIK_ANALYSIS_BUFFERED_BYTES_H_
