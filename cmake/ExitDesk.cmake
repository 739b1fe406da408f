# Helpers for tests, fuzz targets and benchmarks.

# exitdesk_test(<lib> <sources>...): adds the sources to the test executable <lib>_tests,
# which is made on first use and linked with <lib> and GoogleTest's main.
function(exitdesk_test lib)
  set(exe ${lib}_tests)
  if(NOT TARGET ${exe})
    add_executable(${exe})
    target_link_libraries(${exe} PRIVATE ${lib} GTest::gtest GTest::gmock GTest::gtest_main)
    target_compile_definitions(${exe} PRIVATE
      EXITDESK_SOURCE_DIR="${PROJECT_SOURCE_DIR}" EXITDESK_BINARY_DIR="${PROJECT_BINARY_DIR}")
    set_property(GLOBAL APPEND PROPERTY EXITDESK_TEST_TARGETS ${exe})
  endif()
  target_sources(${exe} PRIVATE ${ARGN})
endfunction()

# Called once at the end of the top-level list: every test case becomes a ctest test.
function(exitdesk_register_tests)
  get_property(targets GLOBAL PROPERTY EXITDESK_TEST_TARGETS)
  foreach(exe IN LISTS targets)
    gtest_discover_tests(${exe} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 60
      PROPERTIES ENVIRONMENT "EXITDESK_BINARY_DIR=${PROJECT_BINARY_DIR}")
  endforeach()
endfunction()

# exitdesk_fuzz(<name> <sources>... LIBS <libs>...): a libFuzzer target, built only with EXITDESK_FUZZ.
function(exitdesk_fuzz name)
  cmake_parse_arguments(F "" "" "LIBS" ${ARGN})
  if(EXITDESK_FUZZ)
    add_executable(fuzz_${name} ${F_UNPARSED_ARGUMENTS})
    target_link_libraries(fuzz_${name} PRIVATE ${F_LIBS})
    target_link_options(fuzz_${name} PRIVATE -fsanitize=fuzzer)
    set_property(GLOBAL APPEND PROPERTY EXITDESK_FUZZ_TARGETS fuzz_${name})
  endif()
endfunction()

# exitdesk_bench(<name> <sources>... LIBS <libs>...): a Google Benchmark program.
function(exitdesk_bench name)
  cmake_parse_arguments(B "" "" "LIBS" ${ARGN})
  if(EXITDESK_BENCH)
    find_package(benchmark QUIET)
    if(benchmark_FOUND)
      add_executable(bench_${name} ${B_UNPARSED_ARGUMENTS})
      target_link_libraries(bench_${name} PRIVATE ${B_LIBS} benchmark::benchmark benchmark::benchmark_main)
    endif()
  endif()
endfunction()
