#!/bin/sh
# Runs CTest in a Windows build tree with one wineserver kept alive for the
# whole run (each test then starts in milliseconds, not seconds).
# Usage: wine-ctest.sh <build tree> [ctest arguments]
set -eu
. "$(dirname "$0")/wine-env.sh"
tree="$(realpath "$1")"
shift
export WINEPREFIX="$tree/wineprefix"
wineserver -p
wine wineboot >/dev/null 2>&1 || true
status=0
ctest --test-dir "$tree" --output-on-failure "$@" || status=$?
wineserver -k || true
"$(dirname "$0")/skipped-tests.sh" "$tree"
exit $status
