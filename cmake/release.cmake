# What makes the shipped image reproducible and versioned: two builds of the
# same commit, in any folders, give the same bytes, and the version comes
# from project(VERSION) alone.

# In the shipped build neither the source nor the build folder reaches the
# objects (__FILE__ and the like). Test trees keep full paths in their debug
# information.
add_compile_options("$<$<CONFIG:Release>:-ffile-prefix-map=${CMAKE_SOURCE_DIR}/=>"
                    "$<$<CONFIG:Release>:-ffile-prefix-map=${CMAKE_BINARY_DIR}/=>")

# The version resource reads the version from this header.
configure_file(${CMAKE_SOURCE_DIR}/app/resources/version.h.in ${CMAKE_BINARY_DIR}/generated/version.h @ONLY)
string(APPEND CMAKE_RC_FLAGS " -I${CMAKE_BINARY_DIR}/generated")

# vh_stamp_from_source_date(<target>): the target's PE time stamp is the
# commit's time (or SOURCE_DATE_EPOCH when the caller sets it), never the
# time of the link; ld takes it from SOURCE_DATE_EPOCH in its environment.
# Outside a git checkout and without SOURCE_DATE_EPOCH the stamp is zero.
if(DEFINED ENV{SOURCE_DATE_EPOCH})
  set(VH_SOURCE_DATE_EPOCH $ENV{SOURCE_DATE_EPOCH})
else()
  execute_process(COMMAND git -C ${CMAKE_SOURCE_DIR} log -1 --format=%ct
    OUTPUT_VARIABLE VH_SOURCE_DATE_EPOCH OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
endif()
function(vh_stamp_from_source_date target)
  if(VH_SOURCE_DATE_EPOCH MATCHES "^[0-9]+$")
    set_target_properties(${target} PROPERTIES
      CXX_LINKER_LAUNCHER "${CMAKE_COMMAND};-E;env;SOURCE_DATE_EPOCH=${VH_SOURCE_DATE_EPOCH}")
  else()
    target_link_options(${target} PRIVATE -Wl,--no-insert-timestamp)
  endif()
endfunction()

# The shipped build (CMAKE_BUILD_TYPE Release, tools/build.sh release) uses
# the optimisation the tests run with, without debug information.
set(CMAKE_C_FLAGS_RELEASE "-O2 -DNDEBUG")
set(CMAKE_CXX_FLAGS_RELEASE "-O2 -DNDEBUG")
