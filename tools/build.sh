#!/bin/sh
# Configures and builds both trees: build/native (Windows-free core, clang,
# sanitizers) and build/win (the Windows program and its tests, mingw-w64).
# Usage: build.sh [native|win|all]
set -eu
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${VH_BUILD_DIR:-$root/build}"
what="${1:-all}"

if [ "$what" = native ] || [ "$what" = all ]; then
    cmake -S "$root" -B "$build/native" -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ >/dev/null
    cmake --build "$build/native" -j2
fi
if [ "$what" = win ] || [ "$what" = all ]; then
    cmake -S "$root" -B "$build/win" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686.cmake" >/dev/null
    cmake --build "$build/win" -j2
fi
