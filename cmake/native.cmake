# Native build of the Windows-free core with AddressSanitizer and UBSan, the
# same unit tests, and libFuzzer targets.
find_package(ZLIB REQUIRED)

set(SANITIZE -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=all)
add_compile_options(${SANITIZE})
add_link_options(${SANITIZE})

add_library(core STATIC ${PORTABLE_SOURCES})
target_include_directories(core PUBLIC ${CMAKE_SOURCE_DIR})
target_link_libraries(core PUBLIC ZLIB::ZLIB)

include(tests/portable.cmake)
include(bench/bench.cmake)

option(VH_FUZZ "Build libFuzzer targets (clang only)" ON)
if(VH_FUZZ AND CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
  include(tests/fuzz/fuzz.cmake)
endif()
