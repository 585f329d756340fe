# The Windows program, its Windows-bound units and the tests that run under Wine.
add_compile_definitions(UNICODE _UNICODE WINVER=0x0601 _WIN32_WINNT=0x0601 NOMINMAX)

include(cmake/release.cmake)

find_library(ZLIB_STATIC NAMES libz.a REQUIRED)

# Resource scripts find the pictures, the test data and the string-table
# names by name.
string(APPEND CMAKE_RC_FLAGS " -I${CMAKE_SOURCE_DIR} -I${CMAKE_SOURCE_DIR}/app/resources -I${CMAKE_SOURCE_DIR}/tests/data")

add_library(core STATIC ${PORTABLE_SOURCES})
target_include_directories(core PUBLIC ${CMAKE_SOURCE_DIR})
target_link_libraries(core PUBLIC ${ZLIB_STATIC})

add_library(winparts STATIC ${WIN_SOURCES})
target_link_libraries(winparts PUBLIC core
  comctl32 shlwapi shell32 ole32 oleaut32 uuid gdi32 user32 advapi32 kernel32)

add_executable(VelmoraSetup WIN32 app/main.cpp app/resources/app.rc)
target_link_libraries(VelmoraSetup PRIVATE winparts)
target_link_options(VelmoraSetup PRIVATE -municode)
vh_stamp_from_source_date(VelmoraSetup)
# The resource script embeds these files; a change to any of them rebuilds it.
file(GLOB RESOURCE_FILES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/app/resources/*.png
  ${CMAKE_SOURCE_DIR}/app/resources/*.rtf ${CMAKE_SOURCE_DIR}/app/resources/*.ico
  ${CMAKE_SOURCE_DIR}/app/resources/*.manifest)
set_source_files_properties(app/resources/app.rc PROPERTIES OBJECT_DEPENDS "${RESOURCE_FILES}")

set(WINE_PREFIX ${CMAKE_BINARY_DIR}/wineprefix)
include(tests/portable.cmake)
include(tests/windows.cmake)
include(tests/faults.cmake)
# The checks of the shipped exe take the release tree's (tools/build.sh
# builds it beside this tree), whichever architecture this tree is built for.
set(VH_RELEASE_EXE ${CMAKE_BINARY_DIR}/../release/VelmoraSetup.exe CACHE FILEPATH
  "The shipped 32-bit VelmoraSetup.exe that exe_image and signed_exe check")
include(tests/release.cmake)
include(bench/bench.cmake)

# The shipped program carries no debug information.
target_link_options(VelmoraSetup PRIVATE -s)
