#ifndef TALVIK_ANALYSIS_RESAMPLE_GENERATOR_H_
#define TALVIK_ANALYSIS_RESAMPLE_GENERATOR_H_

#include <cstdint>

namespace talvik {

// The generator's recurrence: state' = (4101 x state + 853) mod 2^24, and
// the index of a state is (state mod 1000) + 1.
inline constexpr std::uint32_t kGeneratorMultiplier = 4101;
inline constexpr std::uint32_t kGeneratorIncrement = 853;
inline constexpr std::uint32_t kGeneratorModulus = std::uint32_t{1} << 24;
inline constexpr std::uint32_t kGeneratorIndexRange = 1000;

// True for a seed the generator can work from: finite, not negative, and small
// enough that the first step 4101 x seed + 853 is finite.
bool isUsableSeed(double seed);

// The recurrence above, carried in a double state.
class ResampleGenerator {
 public:
  // REQUIRES: isUsableSeed(seed)
  explicit ResampleGenerator(double seed) : state_(seed) {}

  double state() const { return state_; }
  // REQUIRES: value was returned by state() earlier.
  void setState(double value) { state_ = value; }

  // Advances one step and returns an index from 1 to 1000 of the new state.
  int nextIndex();

  // Steps until the index is at most n and returns it; indexes above n are
  // thrown away, their steps consumed. For n = 1 it returns 1 at once.
  // REQUIRES: 1 <= n <= 1000
  int drawPosition(int n);

 private:
  double state_;
};

}  // namespace talvik

#endif  // TALVIK_ANALYSIS_RESAMPLE_GENERATOR_H_
