# libFuzzer targets over the Windows-free parsers; each tests/fuzz/*_fuzz.cpp
# becomes one target, seeded from tests/fuzz/corpus/<name without _fuzz>/.
# The test run gives each a short smoke run (VH_FUZZ_SECONDS, default 30);
# tools/fuzz.sh runs them for longer.
set(VH_FUZZ_SECONDS 30 CACHE STRING "Seconds of each fuzz smoke test")
file(GLOB FUZZ_TARGETS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/fuzz/*_fuzz.cpp)
foreach(source ${FUZZ_TARGETS})
  get_filename_component(name ${source} NAME_WE)
  string(REGEX REPLACE "_fuzz$" "" seeds ${name})
  add_executable(${name} ${source})
  target_compile_options(${name} PRIVATE -fsanitize=fuzzer)
  target_link_options(${name} PRIVATE -fsanitize=fuzzer)
  target_link_libraries(${name} PRIVATE core)
  # New inputs go to the build tree, never into the committed seeds.
  set(work ${CMAKE_BINARY_DIR}/fuzz-corpus/${seeds})
  file(MAKE_DIRECTORY ${work})
  add_test(NAME fuzz_${seeds} COMMAND ${name} -max_total_time=${VH_FUZZ_SECONDS} -print_final_stats=0
    ${work} ${CMAKE_SOURCE_DIR}/tests/fuzz/corpus/${seeds})
endforeach()
