#ifndef TALVIK_BATCH_PROGRESS_LINE_H_
#define TALVIK_BATCH_PROGRESS_LINE_H_

#include <chrono>
#include <cstddef>
#include <ostream>

namespace talvik {

// "analysed 120 of 1000", rewritten in place on a terminal's standard error
// while the analyses run, and erased before any message and at the end.
class ProgressLine {
 public:
  // A line that is not `shown` writes nothing at all.
  ProgressLine(std::ostream& terminal, bool shown, std::size_t total)
      : terminal_(terminal), shown_(shown), total_(total) {}
  ProgressLine(const ProgressLine&) = delete;
  ProgressLine& operator=(const ProgressLine&) = delete;
  ~ProgressLine() { erase(); }

  // Shows the count, at most ten times a second.
  void update(std::size_t analysed);
  // Takes the line away, so that a message can be written in its place.
  void erase();

 private:
  std::ostream& terminal_;
  bool shown_;
  std::size_t total_;
  bool onScreen_ = false;
  std::chrono::steady_clock::time_point lastShown_{};
};

}  // namespace talvik

#endif  // TALVIK_BATCH_PROGRESS_LINE_H_
