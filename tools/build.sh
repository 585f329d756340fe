#!/bin/sh
# Configures and builds the trees: build/native (Windows-free core, clang,
# sanitizers), build/win (the Windows program and its tests, mingw-w64) and
# build/release (only the shipped VelmoraSetup.exe: optimised, no debug
# information, reproducible). Prints the version being built and, for the
# release tree, the exe's size and SHA-256.
# Usage: build.sh [native|win|release|all]
set -eu
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${VH_BUILD_DIR:-$root/build}"
what="${1:-all}"

version=$(sed -n 's/^project(VelmoraSetup VERSION \([0-9.]*\).*/\1/p' "$root/CMakeLists.txt")
echo "Velmora-Холтер setup, version $version"

if [ "$what" = native ] || [ "$what" = all ]; then
    cmake -S "$root" -B "$build/native" -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ >/dev/null
    cmake --build "$build/native" -j2
fi
if [ "$what" = win ] || [ "$what" = all ]; then
    cmake -S "$root" -B "$build/win" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686.cmake" >/dev/null
    cmake --build "$build/win" -j2
fi
if [ "$what" = release ] || [ "$what" = all ]; then
    cmake -S "$root" -B "$build/release" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686.cmake" \
        -DCMAKE_BUILD_TYPE=Release >/dev/null
    cmake --build "$build/release" -j2 --target VelmoraSetup
    exe="$build/release/VelmoraSetup.exe"
    echo "Release build, version $version: $exe, $(stat -c %s "$exe") bytes," \
        "SHA-256 $(sha256sum "$exe" | cut -d' ' -f1)"
fi
