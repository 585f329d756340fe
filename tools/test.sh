#!/bin/sh
# Sets up everything, checks the sources' format, builds the trees and runs
# all tests: the native sanitizer build first, then the release exe built a
# second time to show it reproducible, then the Windows tests under Wine on
# a virtual display: the 32-bit build under 32-bit Wine, or on a host that
# runs 64-bit programs only (or with VH_WINE64=1) the x86-64 build under
# 64-bit Wine. Either way the shipped 32-bit exe's image and signature are
# checked.
# Ends with CTest's summary of the Windows tests and the names of the test
# cases that skipped themselves.
set -eu
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${VH_BUILD_DIR:-$root/build}"

. "$root/tools/host-kind.sh"
echo "== Wine: $VH_WINE_PATH_LINE"
"$root/tools/deps.sh"
echo "== Source format"
"$root/tools/check-format.sh"
# The trees this host's tests run, and the shipped exe: the native tree, the
# Windows tree of this host's Wine and the release exe. The other Windows
# tree (tools/build.sh win or win64) is left to the hosts that run it.
"$root/tools/build.sh" native
"$root/tools/build.sh" "$VH_WIN_TREE"
"$root/tools/build.sh" release

echo "== Native tests (AddressSanitizer, UBSan)"
ctest --test-dir "$build/native" --output-on-failure
"$root/tools/skipped-tests.sh" "$build/native"

echo "== Reproducible release build (the exe built again in another folder)"
"$root/tools/repro-check.sh"

echo "== Windows tests under Wine ($VH_WINE_PATH_LINE)"
"$root/tools/wine-prefix.sh" "$build/$VH_WIN_TREE/wineprefix"
exec xvfb-run -a -s "-screen 0 1280x1024x24" "$root/tools/wine-ctest.sh" "$build/$VH_WIN_TREE"
