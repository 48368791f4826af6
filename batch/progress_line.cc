#include "batch/progress_line.h"

namespace talvik {
namespace {

constexpr std::chrono::milliseconds kInterval{100};
// Carriage return, then the terminal's "erase to the end of the line".
constexpr char kEraseLine[] = "\r\x1b[K";

}  // namespace

void ProgressLine::update(std::size_t analysed) {
  if (!shown_) return;
  const auto now = std::chrono::steady_clock::now();
  if (onScreen_ && now - lastShown_ < kInterval) return;
  lastShown_ = now;
  terminal_ << kEraseLine << "analysed " << analysed << " of " << total_
            << std::flush;
  onScreen_ = true;
}

void ProgressLine::erase() {
  if (!onScreen_) return;
  terminal_ << kEraseLine << std::flush;
  onScreen_ = false;
}

}  // namespace talvik
