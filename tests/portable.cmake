# Unit tests of the Windows-free core: built natively (sanitizers) and for
# Windows (run under Wine).
file(GLOB PORTABLE_TESTS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/portable/*_test.cpp)
add_executable(portable_tests ${PORTABLE_TESTS})
target_link_libraries(portable_tests PRIVATE core gtest_main)
# Under Wine the source tree is reached through drive Z:.
set(HOST_ROOT "")
if(WIN32)
  set(HOST_ROOT "Z:")
endif()
target_compile_definitions(portable_tests PRIVATE
  VH_RESOURCE_DIR="${HOST_ROOT}${CMAKE_SOURCE_DIR}/app/resources"
  VH_TESTDATA_DIR="${HOST_ROOT}${CMAKE_SOURCE_DIR}/tests/data")
add_test(NAME portable_tests COMMAND portable_tests)
if(WIN32)
  set_tests_properties(portable_tests PROPERTIES ENVIRONMENT "WINEPREFIX=${WINE_PREFIX}")
endif()
