#!/bin/sh
# The shipped program (the release tree's exe) must be a self-contained 32-bit GUI image: PE32, GUI
# subsystem, only system DLLs imported, with its manifest, version and icon.
# Its version resource carries the project version, which README names too.
# Usage: check_exe_image.sh <objdump> <VelmoraSetup.exe> <x.y.z> <README.md>
set -eu
objdump="$1"
exe="$2"
version="$3"
readme="$4"
fail() { echo "FAIL: $*"; exit 1; }
[ -f "$exe" ] || fail "no shipped exe at $exe: build it with tools/build.sh release"
headers="$("$objdump" -p "$exe")"

echo "$headers" | grep -q 'Magic[[:space:]]*010b' || fail "not a PE32 image"
echo "$headers" | grep -q 'Subsystem[[:space:]]*00000002' || fail "not a GUI program"

# Only DLLs that Windows never looks for beside the program: the Known DLLs
# (always mapped from the system folder) and comctl32.dll, which the
# manifest's Common-Controls dependency binds to the side-by-side copy. Any
# other import (version.dll, for one) would be loaded from the download
# folder the installer is started from, where anyone can plant one.
allowed="kernel32.dll user32.dll gdi32.dll advapi32.dll shell32.dll ole32.dll oleaut32.dll comdlg32.dll
shlwapi.dll msvcrt.dll comctl32.dll"
for dll in $(echo "$headers" | sed -n 's/.*DLL Name: //p' | tr 'A-Z' 'a-z'); do
    echo "$allowed" | grep -qw "$dll" || fail "imports $dll, which Windows may load from the folder beside the program"
done

for text in "Velmora.Holter.Setup" "PerMonitorV2" "Microsoft.Windows.Common-Controls" "asInvoker"; do
    strings -a "$exe" | grep -q "$text" || fail "manifest lacks $text"
done
strings -a -el "$exe" | grep -q "VS_VERSION_INFO" || fail "no version resource"

# The fixed part (what the setup log reports): file version x.y.z.0 as four
# 16-bit numbers after the 0xFEEF04BD signature and the structure version
# 0x00010000 (the signature alone also turns up in code that checks it).
at=$(LC_ALL=C grep -obUaP '\xbd\x04\xef\xfe\x00\x00\x01\x00' "$exe" | head -n 1 | cut -d: -f1)
[ -n "$at" ] || fail "no fixed file version"
fixed=$(od -An -tu2 -j $((at + 8)) -N 8 "$exe" | awk '{ print $2 "." $1 "." $4 "." $3 }')
[ "$fixed" = "$version.0" ] || fail "fixed file version is $fixed, the project's is $version.0"
text_value() { strings -a -el "$exe" | grep -A1 -x "$1" | sed -n 2p; }
[ "$(text_value FileVersion)" = "$version.0" ] || fail "FileVersion text is $(text_value FileVersion)"
[ "$(text_value ProductVersion)" = "$version" ] || fail "ProductVersion text is $(text_value ProductVersion)"
grep -q "version $version\b" "$readme" || fail "README does not name version $version"
echo "OK: $exe is a PE32 GUI image importing only system DLLs, with manifest and version $version"
