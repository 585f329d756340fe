#!/bin/sh
# Checks an installation record from Linux, row by row, against sha256sum
# of the very files the row names: the distribution's SHA-256 is that of the
# package file the row's file was copied from, the installed SHA-256 that of
# the file at the row's place (the fonts in the Wine prefix's fonts folder).
# Which package file goes where is taken from the distribution's layout
# below, not from the installer; every package file the installation copies
# must have its row, and a font it left in the system a row without hashes;
# a file the update script added after the read-back has its row, not as a
# package file.
# The installation (Windows 7 runtime, no driver) is made by the engine
# tests (InstallationRecordOnDisk) into <build tree>/record-check.
# Usage: record_hashes.sh <build tree>
set -eu
root="$(cd "$(dirname "$0")/.." && pwd)"
tree="$(realpath "$1")"
folder="$tree/record-check"
. "$root/tests/record_on_disk.sh"
record_installation "$tree" "$folder"
record=$(ls "$folder"/install/Settings/VelmoraSetup\ record\ *.txt)
fonts=$(find "$tree/wineprefix/drive_c/windows" -maxdepth 1 -iname fonts)

# Where a package file lands, as "<row's path>" with "/" for "\" (fonts as
# the record names them, in the system's fonts folder); nothing for a file
# this installation does not copy.
landing() {
    case "$1" in
        Firebird/msvcp71.Dll | Firebird/msvcr71.Dll) ;;  # the Windows XP runtime
        Firebird/intl/* | Firebird/udf/*) echo "${1#Firebird/}" ;;
        Firebird/*) echo "${1#Firebird/}" ;;
        UDF/*) echo "udf/${1#UDF/}" ;;
        Updater/*) echo "${1#Updater/}" ;;
        fonts/*) echo "C:/windows/fonts/${1#fonts/}" ;;
        FTDIDriverInstall/*) ;;  # the driver, declined in this run
        *) echo "$1" ;;
    esac
}
# The files the installation writes itself: their rows hash what it wrote.
written() {
    case "$1" in
        Settings/holter.ini | Settings/lastnum.dta | ReleaseInfo | btooth.ini) return 0 ;;
    esac
    return 1
}
# Where the installed file of a row lies on this side.
on_disk() {
    case "$1" in
        C:/windows/fonts/*) echo "$fonts/${1#C:/windows/fonts/}" ;;
        *) echo "$folder/install/$1" ;;
    esac
}

# The record's rows: path (with "/"), source hash, installed hash, verdict.
tr -d '\r' <"$record" | awk -F'\t' 'rows && NF == 5 { gsub(/\\/, "/", $1); print $1 "\t" $3 "\t" $4 "\t" $5 }
    $1 == "Файл" { rows = 1 }' >"$folder/rows.txt"
tab="$(printf '\t')"
failures=0
problem() {
    echo "$*" >&2
    failures=$((failures + 1))
}
row_of() { awk -F'\t' -v path="$1" 'tolower($1) == tolower(path)' "$folder/rows.txt"; }

# Every package file the installation copies has its row, with the hashes
# of that package file and of its installed copy.
copied=0
: >"$folder/places.txt"
for file in $(cd "$folder/package" && find . -type f | sed 's|^\./||' | sort); do
    place=$(landing "$file")
    [ -n "$place" ] || continue
    copied=$((copied + 1))
    echo "$place" >>"$folder/places.txt"
    row=$(row_of "$place")
    [ -n "$row" ] || { problem "no row for $file (at $place)"; continue; }
    IFS="$tab" read -r path source installed verdict <<ROW
$row
ROW
    if [ "$verdict" = "оставлен: шрифт уже был в системе" ]; then
        [ "$source$installed" = "--" ] || problem "a font left in the system has hashes: $path"
        continue
    fi
    written "$path" && continue
    [ "$source" = "$(sha256sum <"$folder/package/$file" | cut -d' ' -f1)" ] ||
        problem "the distribution's SHA-256 of $path is not that of $file: $source"
    case "$verdict" in
        # Read back before the update script changed or removed it: the
        # copy's hash is the verified one, not that of what lies there now.
        "изменён обновлением "* | "удалён или не прочитан после обновления "*)
            [ "$installed" = "$source" ] || problem "$path: the verified copy's SHA-256 is not the source's"
            continue
            ;;
    esac
    [ "$installed" = "$(sha256sum <"$(on_disk "$path")" | cut -d' ' -f1)" ] ||
        problem "the installed SHA-256 of $path is not that of the installed file: $installed"
    [ "$verdict" = OK ] || problem "$path: $verdict"
done
[ "$copied" -ge 30 ] || problem "the layout places only $copied package files"

# The files the installation wrote: their rows hash the file as it lies.
# A file the update script added is there, not a package file's; any other
# row must be a package file's.
written_rows=0
while IFS="$tab" read -r path source installed verdict; do
    case "$verdict" in
        "добавлен обновлением "*)
            [ -f "$(on_disk "$path")" ] || problem "added by the update but not there: $path"
            grep -qixF "$path" "$folder/places.txt" && problem "a package file recorded as added by the update: $path"
            continue
            ;;
    esac
    if ! written "$path"; then
        grep -qixF "$path" "$folder/places.txt" || problem "a row for no file of the package: $path"
        continue
    fi
    written_rows=$((written_rows + 1))
    actual=$(sha256sum <"$(on_disk "$path")" | cut -d' ' -f1)
    [ "$installed" = "$actual" ] && [ "$source" = "$actual" ] ||
        problem "the written file $path is not as its row says: $source $installed, on disk $actual"
done <"$folder/rows.txt"
[ "$written_rows" -ge 3 ] || problem "only $written_rows rows of written files"

rows=$(wc -l <"$folder/rows.txt")
echo "record checked with sha256sum row by row: $rows rows, $copied package files placed, $failures failures"
[ "$failures" -eq 0 ] && rm -rf "$folder"
[ "$failures" -eq 0 ]
