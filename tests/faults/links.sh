#!/bin/sh
# Lays out folders with symbolic links for the link tests: Wine shows a
# Linux symbolic link to a folder as a folder with the reparse-point
# attribute, as Windows shows a junction or a folder link (Wine's own
# CreateSymbolicLinkW makes nothing). Usage: links.sh <folder>
set -eu
folder="$1"
rm -rf "$folder"
mkdir -p "$folder/outside" "$folder/outside written" "$folder/src/inner" "$folder/src/other" "$folder/dst" \
    "$folder/list/A"
echo "not the package's" > "$folder/outside/secret.txt"
echo plain > "$folder/src/plain.txt"
echo inner > "$folder/src/inner/x.txt"
echo other > "$folder/src/other/y.txt"
# A link in the package leading out of it, and one in the install folder
# that would write elsewhere.
ln -s ../outside "$folder/src/linked"
ln -s "../outside written" "$folder/dst/inner"
# The same in other letters: names compare without regard to case.
ln -s "../outside written" "$folder/dst/OTHER"
ln -s ../outside "$folder/list/L"
# Install folders: one whose database folder leads elsewhere, one that is
# itself a link.
mkdir -p "$folder/install/Holter/Settings"
ln -s "../../outside written" "$folder/install/Holter/DTAfb"
ln -s "../outside written" "$folder/install/Linked"
echo "links: laid out in $folder"
