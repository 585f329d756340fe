#!/bin/sh
# Configures and builds the trees: build/native (Windows-free core, clang,
# sanitizers), build/win (the Windows program and its tests, mingw-w64
# i686), build/win64 (the same tree for x86-64: what 64-bit Wine runs on
# hosts that run 64-bit programs only) and build/release (only the shipped
# 32-bit VelmoraSetup.exe: optimised, no debug information, reproducible).
# Prints the version being built and, for the release tree, the exe's size
# and SHA-256.
# Usage: build.sh [native|win|win64|release|all] [target...]
# Targets, when named, limit a native, win or win64 tree's build to them.
set -eu
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${VH_BUILD_DIR:-$root/build}"
what="${1:-all}"
[ $# -gt 0 ] && shift
targets=""
for target in "$@"; do targets="$targets --target $target"; done

version=$(sed -n 's/^project(VelmoraSetup VERSION \([0-9.]*\).*/\1/p' "$root/CMakeLists.txt")
echo "Velmora-Холтер setup, version $version"

wants() { [ "$what" = "$1" ] || [ "$what" = all ]; }
# The Windows test trees check the shipped exe itself, built in build/release.
windows_tree() {
    cmake -S "$root" -B "$build/$1" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-$2.cmake" \
        -DVH_RELEASE_EXE="$build/release/VelmoraSetup.exe" >/dev/null
    # shellcheck disable=SC2086 # one word per target option
    cmake --build "$build/$1" -j2 $targets
}

if wants native; then
    cmake -S "$root" -B "$build/native" -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ >/dev/null
    # shellcheck disable=SC2086
    cmake --build "$build/native" -j2 $targets
fi
if wants win; then windows_tree win i686; fi
if wants win64; then windows_tree win64 x86_64; fi
if wants release; then
    cmake -S "$root" -B "$build/release" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686.cmake" \
        -DCMAKE_BUILD_TYPE=Release >/dev/null
    cmake --build "$build/release" -j2 --target VelmoraSetup
    exe="$build/release/VelmoraSetup.exe"
    echo "Release build, version $version: $exe, $(stat -c %s "$exe") bytes," \
        "SHA-256 $(sha256sum "$exe" | cut -d' ' -f1)"
fi
