// The module is built without a C++ exception runtime (the WebAssembly
// C++ library has none), so nothing can catch an exception there: every
// request is answered with values, and code that would throw ends the
// module with a message instead. The page then reports an internal fault
// and starts a fresh module.

#include <cstddef>
#include <cstdio>
#include <cstdlib>

extern "C" {

void* __cxa_allocate_exception(std::size_t size) { return std::malloc(size); }

[[noreturn]] void __cxa_throw(void*, void*, void (*)(void*)) {
  std::fputs("talvik: an unexpected fault ended the analysis\n", stderr);
  std::abort();
}

}  // extern "C"
