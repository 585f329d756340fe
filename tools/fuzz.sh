#!/bin/sh
# Runs every fuzz target of the native build for the given number of seconds
# each (default 600). Crashes are written to build/native/fuzz-crashes/.
set -eu
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${VH_BUILD_DIR:-$root/build}"
seconds="${1:-600}"
"$root/tools/deps.sh"
"$root/tools/build.sh" native
mkdir -p "$build/native/fuzz-crashes"
for target in "$build"/native/*_fuzz; do
    name="$(basename "$target" _fuzz)"
    mkdir -p "$build/native/fuzz-corpus/$name"
    echo "== $name for $seconds s"
    "$target" -max_total_time="$seconds" -artifact_prefix="$build/native/fuzz-crashes/$name-" \
        "$build/native/fuzz-corpus/$name" "$root/tests/fuzz/corpus/$name"
done
