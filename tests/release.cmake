# The shipped program signed: a copy signed with a throw-away certificate
# verifies and starts to its welcome page under Wine.
add_executable(welcome_check tests/e2e/welcome_check.cpp tests/e2e/driver.cpp)
target_link_libraries(welcome_check PRIVATE testkit)
target_link_options(welcome_check PRIVATE -municode)
add_test(NAME signed_exe COMMAND sh ${CMAKE_SOURCE_DIR}/tests/signed_exe.sh
  $<TARGET_FILE:VelmoraSetup> $<TARGET_FILE:welcome_check>)
set_tests_properties(signed_exe PROPERTIES ENVIRONMENT "${WINE_TEST_ENV}" RUN_SERIAL TRUE)
