# Cross-compiles for 64-bit Windows with Debian's MinGW-w64 GCC (the posix
# thread model, for std::thread), linked statically so that the programs need
# no DLLs. Test programs run under wine, in a Windows prefix of the build's own.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

# C for GoogleTest's project, which enables it.
set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)
set(CMAKE_EXE_LINKER_FLAGS_INIT -static)

# Libraries and headers of the target only; programs of the build machine.
set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Debian's wine package gives /usr/bin/wine; wine64 alone installs its loader
# in /usr/lib/wine. WINEDEBUG=-all keeps wine's own messages off standard
# error, which the tests compare; without winemenubuilder wine adds nothing to
# the desktop menus in the home folder. wine_run.sh keeps the wine server
# running between the test programs.
find_program(TALVIK_WINE NAMES wine wine64 PATHS /usr/lib/wine)
find_program(TALVIK_WINESERVER NAMES wineserver PATHS /usr/lib/wine)
if(TALVIK_WINE AND TALVIK_WINESERVER)
  set(TALVIK_WINEPREFIX "${CMAKE_BINARY_DIR}/wineprefix" CACHE PATH
      "The Windows prefix (C: drive and registry) that the tests run in")
  set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_COMMAND} -E env WINEDEBUG=-all
      WINEDLLOVERRIDES=winemenubuilder.exe=d WINEPREFIX=${TALVIK_WINEPREFIX}
      WINESERVER=${TALVIK_WINESERVER}
      ${CMAKE_CURRENT_LIST_DIR}/wine_run.sh ${TALVIK_WINE})
endif()
