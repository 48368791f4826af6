# Collects a folder's sources: everything but tests, fuzz targets, benchmarks and
# main, unless the sources are given.
function(talvik_folder_library name)
  if(ARGN)
    set(sources ${ARGN})
  else()
    file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cc)
    list(FILTER sources EXCLUDE REGEX "(_test|_fuzz|_bench|/main)\\.cc$")
  endif()
  add_library(${name} STATIC ${sources})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
endfunction()

# One test executable per *_test.cc file, each test listed in CTest on its own.
function(talvik_add_test source)
  get_filename_component(test_name ${source} NAME_WE)
  add_executable(${test_name} ${source})
  target_link_libraries(${test_name} PRIVATE ${ARGN} GTest::gtest GTest::gtest_main)
  if(TARGET talvik_wineprefix)
    add_dependencies(${test_name} talvik_wineprefix)
  endif()
  gtest_discover_tests(${test_name} DISCOVERY_TIMEOUT 60)
endfunction()

# Registers every *_test.cc file of the calling folder, linked with the given libraries.
# The fuzzing build has none: its libraries carry coverage and sanitizers.
function(talvik_folder_tests)
  if(TALVIK_FUZZ OR NOT BUILD_TESTING)
    return()
  endif()
  file(GLOB tests CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*_test.cc)
  foreach(test ${tests})
    talvik_add_test(${test} ${ARGN})
  endforeach()
endfunction()

# One libFuzzer executable per *_fuzz.cc file of the calling folder, linked with
# the given libraries; built only when TALVIK_FUZZ is on (see fuzz/run_fuzzers.sh).
function(talvik_folder_fuzzers)
  if(NOT TALVIK_FUZZ)
    return()
  endif()
  file(GLOB fuzzers CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*_fuzz.cc)
  foreach(fuzzer ${fuzzers})
    get_filename_component(fuzzer_name ${fuzzer} NAME_WE)
    add_executable(${fuzzer_name} ${fuzzer})
    target_link_libraries(${fuzzer_name} PRIVATE ${ARGN})
    target_link_options(${fuzzer_name} PRIVATE -fsanitize=fuzzer)
  endforeach()
endfunction()

# An INTERFACE target `name` for a header-only library of the build machine,
# whose headers are the folder `folder` holding `header` (fast_float/
# fast_float.h). The folder is copied into the build tree, so that a
# cross-compiler sees it without the build machine's other system headers.
# No target is made when the header is not found.
function(talvik_header_library name folder header)
  find_path(${name}_INCLUDE_DIR ${folder}/${header} NO_CMAKE_FIND_ROOT_PATH)
  if(NOT ${name}_INCLUDE_DIR)
    return()
  endif()
  file(COPY ${${name}_INCLUDE_DIR}/${folder}
       DESTINATION ${CMAKE_BINARY_DIR}/${name}_include)
  add_library(${name} INTERFACE)
  target_include_directories(${name} SYSTEM INTERFACE
                             ${CMAKE_BINARY_DIR}/${name}_include)
endfunction()

# Sets `variable` to what a test script runs as the program `target`: the
# program itself, or, when it is built for another system, a shell script of
# the same name that runs it under CMAKE_CROSSCOMPILING_EMULATOR (wine).
function(talvik_script_program variable target)
  if(NOT CMAKE_CROSSCOMPILING)
    set(${variable} $<TARGET_FILE:${target}> PARENT_SCOPE)
    return()
  endif()
  set(script ${CMAKE_BINARY_DIR}/emulated/${target})
  set(${variable} ${script} PARENT_SCOPE)
  # Made once, for whichever folder asks first.
  get_property(made GLOBAL PROPERTY talvik_script_${target})
  if(made)
    return()
  endif()
  set_property(GLOBAL PROPERTY talvik_script_${target} TRUE)
  list(JOIN CMAKE_CROSSCOMPILING_EMULATOR "' '" emulator)
  file(GENERATE OUTPUT ${script}
       CONTENT "#!/bin/sh\nexec '${emulator}' '$<TARGET_FILE:${target}>' \"$@\"\n"
       FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ
                        GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
endfunction()

# Registers the test `name`: the bash script `script` run with the remaining
# arguments. A script that needs a missing tool says so and exits 77, which
# CTest counts as skipped. TALVIK_SYSTEM tells the script which system the
# programs are built for (Linux, Windows): the system's own messages differ.
# TALVIK_VERSION is the project's version, the one --version must print.
# TALVIK_WRAPPER, when set, is the command that runs a program the script is
# given (valgrind for memcheck, wine for the Windows build).
function(talvik_add_script_test name script)
  add_test(NAME ${name} COMMAND bash ${script} ${ARGN})
  set(environment TALVIK_SYSTEM=${CMAKE_SYSTEM_NAME}
      TALVIK_VERSION=${PROJECT_VERSION})
  if(CMAKE_CROSSCOMPILING_EMULATOR)
    list(JOIN CMAKE_CROSSCOMPILING_EMULATOR " " wrapper)
    list(APPEND environment "TALVIK_WRAPPER=${wrapper}")
  endif()
  set_tests_properties(${name} PROPERTIES SKIP_RETURN_CODE 77
                       ENVIRONMENT "${environment}")
endfunction()
