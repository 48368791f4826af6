// Fuzzes the size file reader and the largest-first ordering.
//
// Input: two header bytes, then the size file. Header bit 0 makes the file
// refuse the read at its end instead of reporting the end of the file; bit 1
// takes the file's bytes as raw floats for the ordering alone; the other bits
// seed the sizes of the chunks in which the file is handed out.

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "analysis/byte_source.h"
#include "analysis/plain_decimal.h"
#include "analysis/size_file.h"

namespace talvik {
namespace {

void check(bool holds, const char* what) {
  if (holds) return;
  std::fprintf(stderr, "size_file_fuzz: %s\n", what);
  std::abort();
}

// Hands out the file in chunks of varying sizes, as a pipe or a slow disk
// might, and then reports the end of the file or refuses the read.
class ChunkedSource : public ByteSource {
 public:
  ChunkedSource(std::string_view bytes, std::uint32_t chunkSeed,
                bool refuseAtEnd)
      : bytes_(bytes), state_(chunkSeed | 1u), refuseAtEnd_(refuseAtEnd) {}

  std::optional<std::size_t> read(char* buffer, std::size_t capacity) override {
    // A zero capacity would make an answer of 0 look like the end.
    check(capacity > 0, "read asked for no bytes");
    if (bytes_.empty()) {
      if (refuseAtEnd_) return std::nullopt;
      return 0;
    }
    const std::size_t count =
        std::min({nextChunkSize(), capacity, bytes_.size()});
    std::memcpy(buffer, bytes_.data(), count);
    bytes_.remove_prefix(count);
    return count;
  }

 private:
  // Mostly small chunks, so that values and line ends straddle them.
  std::size_t nextChunkSize() {
    state_ ^= state_ << 13;
    state_ ^= state_ >> 17;
    state_ ^= state_ << 5;
    if (state_ % 8 == 0) return 1 + state_ % 65536;
    return 1 + state_ % 7;
  }

  std::string_view bytes_;
  std::uint32_t state_;
  bool refuseAtEnd_;
};

// The whole file at once, as far as the reader's buffer takes it.
class WholeSource : public ByteSource {
 public:
  explicit WholeSource(std::string_view bytes) : bytes_(bytes) {}

  std::optional<std::size_t> read(char* buffer, std::size_t capacity) override {
    const std::size_t count = std::min(capacity, bytes_.size());
    std::memcpy(buffer, bytes_.data(), count);
    bytes_.remove_prefix(count);
    return count;
  }

 private:
  std::string_view bytes_;
};

bool sameBits(std::span<const float> a, std::span<const float> b) {
  return a.size() == b.size() &&
         (a.empty() || std::memcmp(a.data(), b.data(), a.size_bytes()) == 0);
}

bool sameReading(const SizeFileReading& a, const SizeFileReading& b) {
  return a.ending == b.ending && sameBits(a.sizes, b.sizes);
}

void checkOrdering(std::span<const float> list) {
  const std::vector<float> ordered = orderLargestFirst(list);
  check(sameBits(ordered, orderLargestFirstBySelection(list)),
        "orderLargestFirst differs from the repeated selection");
  if (std::any_of(list.begin(), list.end(),
                  [](float size) { return std::isnan(size); })) {
    return;
  }
  check(ordered.size() == list.size(), "ordering changed the count");
  for (std::size_t k = 0; k < ordered.size(); ++k) {
    check(!std::signbit(ordered[k]), "ordered size negative or -0.0");
    check(k == 0 || !(ordered[k] > ordered[k - 1]),
          "ordered sizes not largest first");
  }
  const auto positives = std::count_if(list.begin(), list.end(),
                                       [](float size) { return size > 0.0f; });
  check(std::count_if(ordered.begin(), ordered.end(),
                      [](float size) { return size > 0.0f; }) == positives,
        "ordering lost or gained a positive size");
}

// Whether `token` is a plain decimal number as strtof reads it.
bool isPlainNumber(std::string_view token) {
  return plainDecimal(token).has_value();
}

// For a file whose lines each hold one plain number or nothing (blanks, tabs
// and carriage returns aside), the reading the C library's correctly rounded
// conversion gives; otherwise nothing.
std::optional<SizeFileReading> plainReading(std::string_view file) {
  SizeFileReading expected;
  while (!file.empty()) {
    const std::size_t end = std::min(file.find('\n'), file.size());
    std::string token;
    for (char c : file.substr(0, end)) {
      if (c != ' ' && c != '\t' && c != '\r') token.push_back(c);
    }
    const std::string_view line = file.substr(0, end);
    file.remove_prefix(std::min(end + 1, file.size()));
    if (token.empty()) continue;
    // A blank or tab inside the number would end it early.
    const std::size_t first = line.find_first_not_of(" \t\r");
    const std::size_t last = line.find_last_not_of(" \t\r");
    if (line.substr(first, last - first + 1).find_first_of(" \t") !=
        std::string_view::npos) {
      return std::nullopt;
    }
    if (!isPlainNumber(token)) return std::nullopt;
    if (expected.sizes.size() == static_cast<std::size_t>(kMaxSettlements)) {
      SizeFileReading tooMany;
      tooMany.ending = SizeFileReading::Ending::kTooManySizes;
      return tooMany;
    }
    expected.sizes.push_back(std::strtof(token.c_str(), nullptr));
  }
  return expected;
}

void fuzzReading(std::string_view file, std::uint32_t chunkSeed,
                 bool refuseAtEnd) {
  ChunkedSource chunked(file, chunkSeed, refuseAtEnd);
  const SizeFileReading reading = readSettlementSizes(chunked);
  WholeSource whole(file);
  const SizeFileReading wholeReading = readSettlementSizes(whole);

  check(reading.sizes.size() <= static_cast<std::size_t>(kMaxSettlements),
        "more than 1000 sizes");
  check(reading.ending == SizeFileReading::Ending::kSizesRead ||
            reading.sizes.empty(),
        "sizes kept after a failed reading");
  if (refuseAtEnd) {
    check(reading.ending != SizeFileReading::Ending::kSizesRead,
          "a refused read went unnoticed");
    check(reading.ending == SizeFileReading::Ending::kReadError ||
              wholeReading.ending == SizeFileReading::Ending::kTooManySizes,
          "a refused read gave neither a read error nor the limit");
  } else {
    check(sameReading(reading, wholeReading),
          "the reading depends on how the file is chunked");
    const std::optional<SizeFileReading> expected = plainReading(file);
    check(!expected || sameReading(reading, *expected),
          "plain numbers read differently from strtof");
  }
  if (reading.ending == SizeFileReading::Ending::kSizesRead) {
    checkOrdering(reading.sizes);
  }
}

}  // namespace
}  // namespace talvik

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data,
                                      std::size_t size) {
  if (size < 2) return 0;
  const bool refuseAtEnd = (data[0] & 1) != 0;
  const bool rawFloats = (data[0] & 2) != 0;
  const std::uint32_t chunkSeed = (data[0] >> 2) | (data[1] << 6);
  const std::string_view file(reinterpret_cast<const char*>(data) + 2,
                              size - 2);
  if (rawFloats) {
    std::vector<float> list(
        std::min(file.size() / sizeof(float),
                 static_cast<std::size_t>(talvik::kMaxSettlements)));
    if (!list.empty()) {
      std::memcpy(list.data(), file.data(), list.size() * sizeof(float));
    }
    talvik::checkOrdering(list);
    return 0;
  }
  talvik::fuzzReading(file, chunkSeed, refuseAtEnd);
  return 0;
}
