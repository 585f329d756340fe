#!/bin/sh
# A user replaces the install folder's Settings with a link while the
# update script runs (renaming the folder and putting a link to a folder of
# their choice in its place, as any user may under the system drive's
# root): the installer, run unattended as it would be by an administrator,
# never writes its record through that link. Driven from Linux, where the
# link is made: Wine shows a Linux symbolic link to a folder as a folder
# link. Usage: planted_junction.sh <build tree>
set -eu
root="$(cd "$(dirname "$0")/.." && pwd)"
tree="$(realpath "$1")"
folder="$tree/planted-junction"
. "$root/tools/wine-env.sh"
export WINEPREFIX="$tree/wineprefix"
rm -rf "$folder"
mkdir -p "$folder/package" "$folder/elsewhere"
wine "$tree/make_package.exe" "Z:$folder/package" >/dev/null
cp "$tree/VelmoraSetup.exe" "$folder/package/"
# The newest package's script waits, in the folder above its own, until the
# link is in place.
printf '@echo off\r\necho.> ..\\started\r\n:wait\r\nif exist ..\\hold (ping -n 2 127.0.0.1 > nul & goto wait)\r\n' \
    >"$folder/package/backup/U010124/Install.cmd"
: >"$folder/package/backup/hold"
windows_path() { printf 'Z:%s' "$1" | tr / '\\'; }
log="$folder/setup.log"
wine "$folder/package/VelmoraSetup.exe" /S "/D=$(windows_path "$folder/Holter")" "/LOG=$(windows_path "$log")" &
setup=$!
waited=0
until [ -f "$folder/Holter/backup/started" ]; do
    sleep 1
    waited=$((waited + 1))
    if [ "$waited" -ge 180 ]; then
        echo "the update script did not start within 180 s" >&2
        kill "$setup" 2>/dev/null || true
        exit 1
    fi
done
mv "$folder/Holter/Settings" "$folder/Holter/Settings.moved"
ln -s ../elsewhere "$folder/Holter/Settings"
rm "$folder/Holter/backup/hold"
wait "$setup" || true
failures=0
fail() {
    echo "$1" >&2
    failures=$((failures + 1))
}
# The exit code as the log gives it: a Linux parent sees only its low 8 bits.
tr -d '\r' <"$log" | grep -q "Run ended: completed (exit code 299)" ||
    fail "the run did not end with 299 (completed, but a step failed): $(tail -n 1 "$log")"
if ls "$folder/elsewhere" | grep -q .; then fail "written through the link: $(ls "$folder/elsewhere")"; fi
tr -d '\r' <"$log" | grep -q "Installation record not written: Cannot create file .*Settings is a junction or symbolic link" ||
    fail "the setup log does not name the refused record"
tr -d '\r' <"$log" | grep -q "Проверка установленных файлов....ОШИБКА!!! .*; протокол не записан" ||
    fail "no line says the record was not written"
echo "link put in place of Settings during the update script: $failures failures"
rm -rf "$folder"
[ "$failures" -eq 0 ]
