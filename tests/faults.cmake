# What the fault-injection tests (faults_tests, from tests/win/faults) need
# beyond an ordinary test: a program that holds a file open without sharing,
# a small file system to fill, and a run as an unprivileged user.
add_executable(file_holder tests/faults/file_holder.cpp)
target_link_libraries(file_holder PRIVATE core)
target_link_options(file_holder PRIVATE -municode)
add_dependencies(faults_tests file_holder)

# An 8 MiB file system mounted for the run (root only; elsewhere the
# full-disk tests skip themselves).
set(SMALL_DISK ${CMAKE_BINARY_DIR}/faults-small-disk)
add_test(NAME faults_small_disk_mount COMMAND sh ${CMAKE_SOURCE_DIR}/tests/faults/small_disk.sh mount ${SMALL_DISK})
add_test(NAME faults_small_disk_unmount
  COMMAND sh ${CMAKE_SOURCE_DIR}/tests/faults/small_disk.sh unmount ${SMALL_DISK})
set_tests_properties(faults_small_disk_mount PROPERTIES FIXTURES_SETUP faults_small_disk)
set_tests_properties(faults_small_disk_unmount PROPERTIES FIXTURES_CLEANUP faults_small_disk)
# Folders holding symbolic links, laid out afresh for each run.
set(LINKS ${CMAKE_BINARY_DIR}/faults-links)
add_test(NAME faults_links_layout COMMAND sh ${CMAKE_SOURCE_DIR}/tests/faults/links.sh ${LINKS})
set_tests_properties(faults_links_layout PROPERTIES FIXTURES_SETUP faults_links)

# Two to three minutes on a loaded machine.
set_tests_properties(faults_tests PROPERTIES TIMEOUT 600
  FIXTURES_REQUIRED "faults_small_disk;faults_links"
  ENVIRONMENT "${WINE_TEST_ENV};VH_SMALL_DISK=Z:${SMALL_DISK};VH_LINKS=Z:${LINKS}")
# The end-to-end run installs onto it too: a disk too small for the package.
set_property(TEST e2e_tests APPEND PROPERTY FIXTURES_REQUIRED faults_small_disk)
set_property(TEST e2e_tests APPEND PROPERTY ENVIRONMENT "VH_SMALL_DISK=Z:${SMALL_DISK}")

# Wine run as root replaces read-only files; the cases about them run again
# as an unprivileged user, in a Wine prefix of that user's own (shared by
# the runs, so they take turns).
add_test(NAME faults_read_only_unprivileged
  COMMAND sh ${CMAKE_SOURCE_DIR}/tests/faults/unprivileged.sh ${CMAKE_BINARY_DIR}/faults-unprivileged
    $<TARGET_FILE:faults_tests> --gtest_filter=*ReadOnly*)
add_test(NAME engine_read_only_unprivileged
  COMMAND sh ${CMAKE_SOURCE_DIR}/tests/faults/unprivileged.sh ${CMAKE_BINARY_DIR}/faults-unprivileged
    $<TARGET_FILE:engine_tests> --gtest_filter=FileOpsTest.*ReadOnly*:FileOpsTest.*RefusesToReplace)
# The first run also makes that user's Wine prefix.
set_tests_properties(faults_read_only_unprivileged engine_read_only_unprivileged PROPERTIES
  SKIP_RETURN_CODE 77 RESOURCE_LOCK unprivileged_prefix TIMEOUT 600)
