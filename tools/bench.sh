#!/bin/sh
# Benchmark: sets up everything, builds what it measures, lays out a
# reference package (1 GiB database, about 2,000 small files) under the
# build folder and measures, on this machine and disk, the installation
# pass against cp -r, Wine's own xcopy /E and a bare loop of CopyFileW over
# the same files, the installer's file copy against CopyFileW and cp,
# the start-up time to the painted welcome page, the picture decode time
# and the installer's peak working set; and the pass keeping the
# installation record against the pass plus one SHA-256 of the payload, with
# the record's memory over a 16 MiB, the 1 GiB and a 2 GiB database. Prints each figure as the median of
# the runs (default 5, after one warm-up run) with min and max; the
# generated files are deleted at the end.
# Usage: tools/bench.sh [runs]
set -eu
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${VH_BUILD_DIR:-$root/build}"
runs="${1:-5}"

"$root/tools/deps.sh"
# The Windows tree this host's Wine runs (tools/host-kind.sh): i686, or
# x86-64 on a host that runs 64-bit programs only.
. "$root/tools/host-kind.sh"
echo "== Wine: $VH_WINE_PATH_LINE"
if [ "$VH_WINE_KIND" = win64 ]; then arch=x86_64; else arch=i686; fi
cmake -S "$root" -B "$build/$VH_WIN_TREE" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-$arch.cmake" >/dev/null
cmake --build "$build/$VH_WIN_TREE" -j2 --target velmora_bench decode_bench VelmoraSetup
cmake -S "$root" -B "$build/native" -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ >/dev/null
cmake --build "$build/native" -j2 --target decode_bench

# A fresh prefix of its own each time: the passes install fonts into it and
# leave a shortcut on its desktop.
rm -rf "$build/bench/wineprefix"
"$root/tools/wine-prefix.sh" "$build/bench/wineprefix"
exec xvfb-run -a -s "-screen 0 1280x1024x24" "$root/bench/measure.sh" "$build" "$runs"
