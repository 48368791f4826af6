#ifndef TALVIK_BATCH_HELD_DOUBTS_H_
#define TALVIK_BATCH_HELD_DOUBTS_H_

#include <cstddef>
#include <cstdint>
#include <map>
#include <vector>

#include "batch/size_doubts.h"

namespace talvik {

// The doubtful lines of one file that are worth a warning. With --largest a
// doubt about a size that the cut removes does not matter to the analysis: it
// is held with its size while that size is among the largest read so far,
// dropped and counted once `kept` larger ones are held. Memory stays bounded
// however many lines: at most `kept` sizes and their doubts are held, and of
// the doubts that stay only the first ones by line.
class HeldDoubts {
 public:
  // `kept`: the sizes the cut keeps, 0 when nothing is cut.
  HeldDoubts(std::size_t kept, std::size_t shown);

  // A doubt, found before the size of its line is taken (it then goes with
  // that size) or after it (with the size just taken).
  void add(const LineDoubt& doubt);
  // The size of `line`, as it is ordered, goes into the cut.
  void take(std::int64_t line, float size);
  // The size of `line` is analysed whatever the cut does, or left out.
  void keep(std::int64_t line);
  // From now on nothing can be known to be cut (a not-a-number among the
  // sizes makes the order depend on every position): every doubt stays.
  void stopCutting();

  // Ends the file: the first `shown` doubts that stay, in line order.
  std::vector<LineDoubt> finish();
  // After finish(): the doubts that stay beyond those returned.
  std::int64_t unshown() const { return stayCount_ - shownCount_; }
  // The lines whose doubts were dropped with their sizes, and the first one.
  std::int64_t cutLines() const { return cutLines_; }
  std::int64_t firstCutLine() const { return firstCutLine_; }

 private:
  struct Held {
    float size = 0.0f;
    std::int64_t line = 0;
  };
  // The size taken last: its doubts found later go with it.
  struct Last {
    enum class Fate { kHeld, kStaying, kCut };
    std::int64_t line = 0;
    Fate fate = Fate::kStaying;
    bool counted = false;  // when cut: its line counted among cutLines_
  };

  void stay(const LineDoubt& doubt);
  void trim();
  void countCut(std::int64_t line);
  void cutWorst();

  std::size_t kept_;
  std::size_t shown_;
  std::vector<Held> sizes_;  // a heap, the last in order on top
  std::multimap<std::int64_t, LineDoubt> held_;  // by the line of their size
  std::vector<LineDoubt> waiting_;               // for the next size taken
  Last last_;
  std::vector<LineDoubt> staying_;  // the first by line, and a few more
  std::int64_t stayCount_ = 0;
  std::int64_t shownCount_ = 0;
  std::int64_t cutLines_ = 0;
  std::int64_t firstCutLine_ = 0;
};

}  // namespace talvik

#endif  // TALVIK_BATCH_HELD_DOUBTS_H_
