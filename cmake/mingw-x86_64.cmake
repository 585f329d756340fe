# Cross-build of the same tree for 64-bit Windows: what runs the tests under
# 64-bit Wine on hosts that run 64-bit programs only. Never shipped.
set(VH_MINGW_ARCH x86_64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw.cmake)
