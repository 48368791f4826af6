# Collects a folder's sources: everything but tests, fuzz targets, benchmarks and
# main. A folder that holds two layers names the sources of each instead.
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
