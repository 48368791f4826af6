#ifndef TALVIK_ANALYSIS_INDEX_LOOK_AHEAD_H_
#define TALVIK_ANALYSIS_INDEX_LOOK_AHEAD_H_

#include <array>
#include <cstdint>
#include <span>

namespace talvik {

// The generator's steps a block at a time, for a state that is a whole number
// from 0 to 2^24 - 1, computed in integers instead of by the double step.
// Each step gives the drawn position, from 0, when its index is at most n,
// and n for a step whose index is thrown away.
class IndexLookAhead {
 public:
  static constexpr int kBlockSteps = 1024;
  using Block = std::array<std::int16_t, kBlockSteps>;

  // REQUIRES: 1 <= n <= 1000
  explicit IndexLookAhead(int n) : n_(n) {}

  // Goes on from `state`, keeping the steps already computed when they follow
  // it.
  // REQUIRES: state < 2^24
  void continueFrom(std::uint32_t state);

  // Takes the next `steps` steps, adding one to counts[p] for each step that
  // gives p.
  // REQUIRES: continueFrom was called; counts.size() > n
  void countSteps(int steps, std::span<std::uint16_t> counts);

  // Takes steps until `draws` of them have given a position below n, adding
  // one to counts[p] for each that gives p.
  // REQUIRES: continueFrom was called; counts.size() >= n
  void countDraws(int draws, std::span<std::uint16_t> counts);

  // The state after the last step taken, or the one continued from.
  std::uint32_t state() const;

 private:
  void computeBlock(std::uint32_t start);

  int n_;
  bool computed_ = false;
  std::uint32_t blockStart_ = 0;
  int taken_ = 0;  // steps of the block taken
  Block positions_;
};

// What IndexLookAhead keeps of the kBlockSteps steps after `start`, in order.
// Declared here for its test.
// REQUIRES: start < 2^24, 1 <= n <= 1000
void computeBlockPositions(std::uint32_t start, int n,
                           IndexLookAhead::Block& positions);

}  // namespace talvik

#endif  // TALVIK_ANALYSIS_INDEX_LOOK_AHEAD_H_
