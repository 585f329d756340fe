# Benchmarks: not tests, run by tools/bench.sh.
if(WIN32)
  add_executable(velmora_bench
    bench/bench_main.cpp
    bench/file_copy_bench.cpp
    bench/hash_bench.cpp
    bench/headless_pass.cpp
    bench/installer_pass.cpp
    bench/reference_package.cpp
    bench/step_floors.cpp
    bench/tree_copy_bench.cpp
    bench/welcome_bench.cpp
    tests/e2e/driver.cpp)
  target_link_libraries(velmora_bench PRIVATE testkit psapi)
  target_link_options(velmora_bench PRIVATE -municode)

  add_executable(decode_bench bench/decode_bench.cpp)
  target_link_libraries(decode_bench PRIVATE core)

  add_executable(ini_bench bench/ini_bench.cpp)
  target_link_libraries(ini_bench PRIVATE core)
else()
  # Built without the sanitizers, so callgrind and the clock see the decoder
  # as it ships; DWARF 4, which this valgrind reads.
  add_executable(decode_bench bench/decode_bench.cpp base/png_decoder.cpp base/error.cpp base/utf8.cpp)
  set_target_properties(decode_bench PROPERTIES COMPILE_OPTIONS "-Wall;-Wextra;-gdwarf-4" LINK_OPTIONS "")
  target_include_directories(decode_bench PRIVATE ${CMAKE_SOURCE_DIR})
  target_link_libraries(decode_bench PRIVATE ZLIB::ZLIB)

  add_executable(ini_bench bench/ini_bench.cpp engine/ini_document.cpp shared/ini_text.cpp
    shared/settings_values.cpp base/strings.cpp base/integer_text.cpp base/error.cpp base/utf8.cpp)
  set_target_properties(ini_bench PROPERTIES COMPILE_OPTIONS "-Wall;-Wextra;-Werror" LINK_OPTIONS "")
  target_include_directories(ini_bench PRIVATE ${CMAKE_SOURCE_DIR})
endif()
