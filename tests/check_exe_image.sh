#!/bin/sh
# The shipped program must be a self-contained 32-bit GUI image: PE32, GUI
# subsystem, only system DLLs imported, with its manifest, version and icon.
# Usage: check_exe_image.sh <objdump> <VelmoraSetup.exe>
set -eu
objdump="$1"
exe="$2"
headers="$("$objdump" -p "$exe")"
fail() { echo "FAIL: $*"; exit 1; }

echo "$headers" | grep -q 'Magic[[:space:]]*010b' || fail "not a PE32 image"
echo "$headers" | grep -q 'Subsystem[[:space:]]*00000002' || fail "not a GUI program"

allowed="kernel32.dll user32.dll gdi32.dll advapi32.dll shell32.dll ole32.dll oleaut32.dll comctl32.dll
comdlg32.dll shlwapi.dll msvcrt.dll version.dll"
for dll in $(echo "$headers" | sed -n 's/.*DLL Name: //p' | tr 'A-Z' 'a-z'); do
    echo "$allowed" | grep -qw "$dll" || fail "imports $dll, which is not a system DLL"
done

for text in "Velmora.Holter.Setup" "PerMonitorV2" "Microsoft.Windows.Common-Controls" "asInvoker"; do
    strings -a "$exe" | grep -q "$text" || fail "manifest lacks $text"
done
strings -a -el "$exe" | grep -q "VS_VERSION_INFO" || fail "no version resource"
echo "OK: $exe is a PE32 GUI image importing only system DLLs, with manifest and version"
