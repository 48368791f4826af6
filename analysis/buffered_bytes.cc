#include "analysis/buffered_bytes.h"

#include <algorithm>
#include <optional>

namespace talvik {

bool BufferedBytes::skipIfNext(std::string_view bytes) {
  if (!fill(bytes.size()) ||
      std::string_view(buffer_.data() + position_, bytes.size()) != bytes) {
    return false;
  }
  position_ += bytes.size();
  lineEnds_ += std::count(bytes.begin(), bytes.end(), '\n');
  return true;
}

bool BufferedBytes::fill(std::size_t wanted) {
  while (filled_ - position_ < wanted) {
    if (ended_) return false;
    // The bytes not yet handed out move to the front, to make room.
    std::copy(buffer_.begin() + position_, buffer_.begin() + filled_,
              buffer_.begin());
    filled_ -= position_;
    position_ = 0;
    const std::optional<std::size_t> count =
        file_.read(buffer_.data() + filled_, buffer_.size() - filled_);
    if (!count || *count == 0) {
      ended_ = true;
      failed_ = !count;
    } else {
      filled_ += *count;
    }
  }
  return true;
}

}  // namespace talvik
