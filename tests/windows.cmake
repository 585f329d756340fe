# Tests that need Windows itself (files, registry, COM, processes, windows),
# one executable per area folder under tests/win/, plus the end-to-end tests
# that drive the real installer.
set(WINE_TEST_ENV "WINEPREFIX=${WINE_PREFIX}")

add_library(testkit STATIC
  tests/kit/temp_folder.cpp
  tests/kit/file_util.cpp
  tests/kit/package_builder.cpp
  tests/kit/recording_view.cpp
  tests/kit/small_disk.cpp
  tests/kit/uninstall_entry_reader.cpp)
target_link_libraries(testkit PUBLIC winparts gtest)
target_include_directories(testkit PUBLIC ${CMAKE_SOURCE_DIR})
# Packages are laid out with the stand-in programs built beside the tests.
add_dependencies(testkit FTDIDriverInstall Shell broadcasting_driver)

file(GLOB TEST_AREAS LIST_DIRECTORIES true ${CMAKE_SOURCE_DIR}/tests/win/*)
foreach(area_dir ${TEST_AREAS})
  if(IS_DIRECTORY ${area_dir})
    get_filename_component(area ${area_dir} NAME)
    # An area may carry resources of its own (*.rc) for its tests.
    file(GLOB area_tests CONFIGURE_DEPENDS ${area_dir}/*_test.cpp ${area_dir}/*.rc)
    if(area_tests)
      add_executable(${area}_tests ${area_tests})
      target_compile_definitions(${area}_tests PRIVATE VH_SOURCE_DIR="Z:${CMAKE_SOURCE_DIR}")
      target_link_libraries(${area}_tests PRIVATE testkit gtest_main)
      add_test(NAME ${area}_tests COMMAND ${area}_tests)
      set_tests_properties(${area}_tests PROPERTIES ENVIRONMENT "${WINE_TEST_ENV}")
    endif()
  endif()
endforeach()

# Installing fonts for real changes the system's fonts folder and HKLM, so
# that one test runs in a Wine prefix of its own.
if(TARGET fonts_tests)
  add_test(NAME fonts_system_test COMMAND fonts_tests --gtest_filter=SystemFonts.*)
  set_tests_properties(fonts_system_test PROPERTIES
    ENVIRONMENT "WINEPREFIX=${CMAKE_BINARY_DIR}/wineprefix-fonts;VH_FONTS_PREFIX_TEST=1")
endif()

# The installation record's hashes checked from Linux with sha256sum, and
# its page to print rendered by chromium (skipped where chromium cannot run).
if(TARGET engine_tests)
  add_test(NAME record_hashes COMMAND sh ${CMAKE_SOURCE_DIR}/tests/record_hashes.sh ${CMAKE_BINARY_DIR})
  add_test(NAME record_page COMMAND sh ${CMAKE_SOURCE_DIR}/tests/record_page.sh ${CMAKE_BINARY_DIR})
  set_tests_properties(record_page PROPERTIES SKIP_RETURN_CODE 77 TIMEOUT 300)
endif()

# A link put in place of Settings while the update script runs, from Linux.
add_test(NAME planted_junction COMMAND sh ${CMAKE_SOURCE_DIR}/tests/planted_junction.sh ${CMAKE_BINARY_DIR})

# Small Windows programs that stand in for the package's own programs.
file(GLOB STAND_INS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/fixtures/*.cpp)
foreach(stand_in ${STAND_INS})
  get_filename_component(name ${stand_in} NAME_WE)
  add_executable(${name} ${stand_in})
  target_link_libraries(${name} PRIVATE core)
endforeach()

# DLLs that tests plant where a careless program would load them.
file(GLOB STAND_IN_DLLS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/fixtures/dll/*.cpp)
foreach(stand_in ${STAND_IN_DLLS})
  get_filename_component(name ${stand_in} NAME_WE)
  add_library(${name} SHARED ${stand_in})
  set_target_properties(${name} PROPERTIES PREFIX "")
  target_link_options(${name} PRIVATE -static -Wl,--kill-at)
endforeach()

file(GLOB E2E_TESTS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/e2e/*_test.cpp)
if(E2E_TESTS)
  add_executable(e2e_tests ${E2E_TESTS} tests/e2e/driver.cpp)
  target_link_libraries(e2e_tests PRIVATE testkit gtest_main version)
  target_compile_definitions(e2e_tests PRIVATE
    VH_SETUP_EXE="Z:$<TARGET_FILE:VelmoraSetup>"
    VH_BUILD_DIR="Z:${CMAKE_BINARY_DIR}"
    VH_SOURCE_DIR="Z:${CMAKE_SOURCE_DIR}")
  add_dependencies(e2e_tests VelmoraSetup)
  add_test(NAME e2e_tests COMMAND e2e_tests)
  # About a minute on a loaded machine.
  set_tests_properties(e2e_tests PROPERTIES ENVIRONMENT "${WINE_TEST_ENV}" RUN_SERIAL TRUE TIMEOUT 600)
endif()

# Lays out a demo installation package: make_package.exe <folder>.
add_executable(make_package tools/make_package.cpp)
target_link_libraries(make_package PRIVATE testkit)
target_link_options(make_package PRIVATE -municode)

# Not a test: saves pictures of the wizard's pages for review.
add_executable(page_tour tests/e2e/page_tour.cpp tests/e2e/driver.cpp)
target_link_libraries(page_tour PRIVATE testkit)
target_link_options(page_tour PRIVATE -municode)
