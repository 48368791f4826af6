#ifndef TALVIK_ANALYSIS_INSTRUCTION_SET_H_
#define TALVIK_ANALYSIS_INSTRUCTION_SET_H_

#include <utility>

// The hottest loops of the fast bootstrap are compiled twice: for the
// baseline x86-64 (SSE2), and for AVX2, whose vectors hold twice as many
// values and which multiplies 32-bit integers in one instruction. Both round
// every operation alike, so both give the same bits; the property tests run
// each build (TALVIK_BASELINE_LOOPS makes every loop take the baseline one).
// Not on Windows, where GCC may spill AVX registers to a stack aligned for
// less than they need.
#if defined(__x86_64__) && !defined(_WIN32) && !defined(TALVIK_BASELINE_LOOPS)
#define TALVIK_AVX2_LOOPS 1
#else
#define TALVIK_AVX2_LOOPS 0
#endif

// `avx2Call` when the machine runs the AVX2 loops, `baselineCall` otherwise.
// A macro, so that without the AVX2 loops `avx2Call` is not compiled at all:
//   return TALVIK_AVX2_OR_BASELINE(avx2Build<sumOf>(values), sumOf(values));
#if TALVIK_AVX2_LOOPS
#define TALVIK_AVX2_OR_BASELINE(avx2Call, baselineCall) \
  (::talvik::avx2LoopsRun() ? (avx2Call) : (baselineCall))
#else
#define TALVIK_AVX2_OR_BASELINE(avx2Call, baselineCall) (baselineCall)
#endif

namespace talvik {

// True when the AVX2 loops are compiled in and the machine runs them.
bool avx2LoopsRun();

#if TALVIK_AVX2_LOOPS
// The AVX2 build of `loop`: a function compiled for AVX2 around it, into
// which it and what it calls are inlined. They are [[gnu::always_inline]], so
// that they are compiled for AVX2 within it rather than called.
template <auto loop, typename... Args>
[[gnu::target("avx2"), gnu::flatten]] decltype(auto) avx2Build(Args&&... args) {
  return loop(std::forward<Args>(args)...);
}
#endif

}  // namespace talvik

#endif  // TALVIK_ANALYSIS_INSTRUCTION_SET_H_
