#ifndef TALVIK_ANALYSIS_INSTRUCTION_SET_H_
#define TALVIK_ANALYSIS_INSTRUCTION_SET_H_

// The hottest loops of the fast bootstrap are compiled twice: for the
// baseline x86-64 (SSE2), and for AVX2, whose vectors hold twice as many
// values and which multiplies 32-bit integers in one instruction. Both round
// every operation alike, so both give the same bits; the property tests run
// each build (TALVIK_BASELINE_LOOPS makes every loop take the baseline one).
// A loop's AVX2 build is a function compiled for AVX2 around the loop's body,
// [[gnu::target("avx2"), gnu::flatten]], and the body and what it calls are
// [[gnu::always_inline]], so that they are compiled for AVX2 within it. Not
// on Windows, where GCC may spill AVX registers to a stack aligned for less
// than they need.
#if defined(__x86_64__) && !defined(_WIN32) && !defined(TALVIK_BASELINE_LOOPS)
#define TALVIK_AVX2_LOOPS 1
#else
#define TALVIK_AVX2_LOOPS 0
#endif

namespace talvik {

// True when the AVX2 loops are compiled in and the machine runs them.
bool avx2LoopsRun();

}  // namespace talvik

#endif  // TALVIK_ANALYSIS_INSTRUCTION_SET_H_
