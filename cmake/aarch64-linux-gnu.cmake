# Cross-compiles for 64-bit ARM Linux with Debian's aarch64 GCC, linked
# statically so that the programs need none of the target's shared libraries.
# Test programs run under qemu's user-mode emulator.
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR aarch64)

# C for GoogleTest's project, which enables it.
set(CMAKE_C_COMPILER aarch64-linux-gnu-gcc)
set(CMAKE_CXX_COMPILER aarch64-linux-gnu-g++)
set(CMAKE_EXE_LINKER_FLAGS_INIT -static)

# Libraries and headers of the target only; programs of the build machine.
set(CMAKE_FIND_ROOT_PATH /usr/aarch64-linux-gnu)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

find_program(TALVIK_QEMU_AARCH64 NAMES qemu-aarch64 qemu-aarch64-static)
if(TALVIK_QEMU_AARCH64)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${TALVIK_QEMU_AARCH64})
endif()
