#include "analysis/instruction_set.h"

namespace talvik {

bool avx2LoopsRun() {
#if TALVIK_AVX2_LOOPS
  static const bool runs = __builtin_cpu_supports("avx2");
  return runs;
#else
  return false;
#endif
}

}  // namespace talvik
