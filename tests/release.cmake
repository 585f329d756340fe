# The shipped exe itself (the release tree's, 32-bit whatever this tree is
# built for): a self-contained PE32 GUI image with manifest and version, and
# a copy signed with a throw-away certificate that verifies and, where this
# host runs 32-bit programs, starts to its welcome page under Wine.
add_test(NAME exe_image COMMAND sh ${CMAKE_SOURCE_DIR}/tests/check_exe_image.sh
  ${CMAKE_OBJDUMP} ${VH_RELEASE_EXE} ${PROJECT_VERSION} ${CMAKE_SOURCE_DIR}/README.md)
add_test(NAME exe_image_planted_import COMMAND sh ${CMAKE_SOURCE_DIR}/tests/check_exe_image_planted.sh
  ${CMAKE_OBJDUMP} ${VH_RELEASE_EXE} ${PROJECT_VERSION} ${CMAKE_SOURCE_DIR}/README.md)

add_executable(welcome_check tests/e2e/welcome_check.cpp tests/e2e/driver.cpp)
target_link_libraries(welcome_check PRIVATE testkit)
target_link_options(welcome_check PRIVATE -municode)
add_test(NAME signed_exe COMMAND sh ${CMAKE_SOURCE_DIR}/tests/signed_exe.sh
  ${VH_RELEASE_EXE} $<TARGET_FILE:welcome_check>)
set_tests_properties(signed_exe PROPERTIES ENVIRONMENT "${WINE_TEST_ENV}" RUN_SERIAL TRUE)
