#!/bin/sh
# Checks an installation record from Linux with sha256sum: every SHA-256 the
# record gives for a distributed file is that of one of the package's files,
# and every SHA-256 of an installed copy in the install folder is that of
# the file at that place. The installation is made by the engine tests
# (InstallationRecordOnDisk) into <build tree>/record-check.
# Usage: record_hashes.sh <build tree>
set -eu
root="$(cd "$(dirname "$0")/.." && pwd)"
tree="$(realpath "$1")"
folder="$tree/record-check"
. "$root/tools/wine-env.sh"
export WINEPREFIX="$tree/wineprefix"
rm -rf "$folder"
mkdir -p "$folder"
VH_RECORD_CHECK="Z:$(printf '%s' "$folder" | tr / '\\')" \
    wine "$tree/engine_tests.exe" --gtest_filter='InstallationRecordOnDisk.*' >"$folder/run.txt" 2>&1 ||
    { cat "$folder/run.txt"; exit 1; }
record=$(ls "$folder"/install/Settings/VelmoraSetup\ record\ *.txt)
(cd "$folder/package" && find . -type f -exec sha256sum {} +) | cut -d' ' -f1 | sort -u >"$folder/package.sums"

# The lines with hashes, but those of the files the installation writes
# itself: path, source hash, installed hash.
tr -d '\r' <"$record" | awk -F'\t' 'NF == 5 && length($3) == 64 && $3 ~ /^[0-9a-f]+$/ &&
    $1 !~ /^(Settings\\(holter\.ini|lastnum\.dta)|ReleaseInfo|btooth\.ini)$/ { print $1 "\t" $3 "\t" $4 }' \
    >"$folder/hashed.txt"
files=$(wc -l <"$folder/hashed.txt")
[ "$files" -ge 20 ] || { echo "record lists only $files hashed files" >&2; exit 1; }
failures=0
tab="$(printf '\t')"
while IFS="$tab" read -r path source installed; do
    if ! grep -qx "$source" "$folder/package.sums"; then
        echo "not the SHA-256 of any package file: $path $source" >&2
        failures=$((failures + 1))
    fi
    case "$path" in
        [A-Za-z]:*) continue ;;  # outside the install folder (the fonts)
    esac
    actual=$(sha256sum <"$folder/install/$(printf '%s' "$path" | tr '\\' /)" | cut -d' ' -f1)
    if [ "$actual" != "$installed" ]; then
        echo "installed copy differs from the record: $path $actual $installed" >&2
        failures=$((failures + 1))
    fi
done <"$folder/hashed.txt"
echo "record hashes checked with sha256sum: $files files, $failures failures"
rm -rf "$folder"
[ "$failures" -eq 0 ]
