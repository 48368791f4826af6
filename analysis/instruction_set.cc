#include "analysis/instruction_set.h"

// glibc's header spells its truth values in C (_Bool), which clang refuses
// in C++.
#if TALVIK_AVX2_LOOPS && __has_include(<sys/platform/x86.h>) && \
    !defined(__clang__)
#include <sys/platform/x86.h>
#define TALVIK_GLIBC_CPU_FEATURES 1
#endif

namespace talvik {
namespace {

#if TALVIK_AVX2_LOOPS
// glibc asks the processor about its features before main; asking again
// takes a few dozen CPUID instructions, each slow in a virtual machine
// (about 0.07 ms all told on the development machine).
bool machineRunsAvx2() {
#ifdef TALVIK_GLIBC_CPU_FEATURES
  return CPU_FEATURE_ACTIVE(AVX2);
#else
  return __builtin_cpu_supports("avx2");
#endif
}
#endif

}  // namespace

bool avx2LoopsRun() {
#if TALVIK_AVX2_LOOPS
  static const bool runs = machineRunsAvx2();
  return runs;
#else
  return false;
#endif
}

}  // namespace talvik
