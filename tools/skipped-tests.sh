#!/bin/sh
# Names the test cases that skipped themselves in the last CTest run of a
# build tree, with the reason each gave. CTest counts a test program whose
# cases call GTEST_SKIP as passed; GoogleTest's "[  SKIPPED ]" lines in the
# full output that CTest keeps are where the skips show.
# Usage: skipped-tests.sh <build tree>
set -eu
log="$1/Testing/Temporary/LastTest.log"
[ -f "$log" ] || exit 0
tr -d '\r' <"$log" | awk '
    /^[0-9]+\/[0-9]+ Test: / { entry = $3 }
    # "<file>:<line>: Skipped" or "<file>(<line>): Skipped", then the reason.
    / Skipped$/ { if ((getline reason) <= 0) reason = ""; next }
    # A script test that leaves out part of its work says "SKIPPED: <reason>".
    /^SKIPPED: / { skipped[++count] = entry ": " substr($0, 10); next }
    /^\[  SKIPPED \] [^ ]+ \([0-9]+ ms\)$/ {
        skipped[++count] = entry ": " $4 (reason == "" ? "" : ": " reason)
        reason = ""
    }
    END {
        if (count == 0) { print "== No test case skipped"; exit }
        print "== Test cases skipped (" count "):"
        for (i = 1; i <= count; i++) print "   " skipped[i]
    }'
