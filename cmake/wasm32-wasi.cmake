# Compiles the web page's module for WebAssembly with Debian's clang 19 and
# its WASI C and C++ libraries (wasi-libc, libc++-19-dev-wasm32).
set(CMAKE_SYSTEM_NAME WASI)
set(CMAKE_SYSTEM_PROCESSOR wasm32)

set(CMAKE_CXX_COMPILER clang++-19)
set(CMAKE_CXX_COMPILER_TARGET wasm32-wasi)
# A test program cannot run here: try-compiles make a library instead.
set(CMAKE_TRY_COMPILE_TARGET_TYPE STATIC_LIBRARY)

set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
# The header-only libraries (fast_float, nlohmann/json) are the build
# machine's; they are copied into the build tree before use.
set(CMAKE_INCLUDE_PATH /usr/include)
