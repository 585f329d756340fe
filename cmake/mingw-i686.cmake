# Cross-build for 32-bit Windows: the shipped program and its tests.
set(VH_MINGW_ARCH i686)
include(${CMAKE_CURRENT_LIST_DIR}/mingw.cmake)
