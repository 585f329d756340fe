#!/bin/sh
# Proves the release build reproducible: builds VelmoraSetup.exe a second
# time from scratch in another folder and compares it byte for byte with
# build/release/VelmoraSetup.exe (tools/build.sh release makes that one).
# Prints both SHA-256 sums; fails when they differ.
set -eu
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${VH_BUILD_DIR:-$root/build}"
first="$build/release/VelmoraSetup.exe"
second="$build/repro-check"
[ -f "$first" ] || { echo "repro-check: build $first first (tools/build.sh release)" >&2; exit 1; }

rm -rf "$second"
VH_BUILD_DIR="$second" "$root/tools/build.sh" release >"$build/repro-check.log" 2>&1 ||
    { cat "$build/repro-check.log"; exit 1; }
hash1=$(sha256sum "$first" | cut -d' ' -f1)
hash2=$(sha256sum "$second/release/VelmoraSetup.exe" | cut -d' ' -f1)
echo "SHA-256 $hash1  $first"
echo "SHA-256 $hash2  $second/release/VelmoraSetup.exe"
if [ "$hash1" != "$hash2" ]; then
    echo "FAIL: the two builds differ:"
    cmp -l "$first" "$second/release/VelmoraSetup.exe" | head -n 20
    exit 1
fi
rm -rf "$second" "$build/repro-check.log"
echo "OK: two builds of the same source in different folders are byte-identical"
