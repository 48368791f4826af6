#ifndef TALVIK_ANALYSIS_NAN_SIGN_H_
#define TALVIK_ANALYSIS_NAN_SIGN_H_

#include <bit>
#include <cstdint>

namespace talvik {

// The sign of the NaN that an invalid operation makes (-inf - -inf, inf x 0)
// is the processor's choice: x86-64 sets it, ARM64 clears it, WebAssembly
// leaves it open even for a NaN carried through from an operand. The records
// print that sign ("-NaN"), so every value that can be such a NaN and reaches
// them (A, the mean of the resampled A, the shift, the bounds and the widths)
// is pinned here to the NaN x86-64 makes. Each of them is a NaN only when made
// by an invalid operation or carried from one, so x86-64 gives it the sign
// bit whichever operand it carried.
inline constexpr float kMadeNaN =
    std::bit_cast<float>(std::uint32_t{0xffc00000});

// `value`, or kMadeNaN when `value` is not a number.
inline float pinNaNSign(float value) {
  return value != value ? kMadeNaN : value;
}

}  // namespace talvik

#endif  // TALVIK_ANALYSIS_NAN_SIGN_H_
