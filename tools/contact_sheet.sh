#!/bin/sh
# Renders every page and window of a full walk through the wizard at 96,
# 120, 144 and 192 dots per inch (100, 125, 150 and 200 %) into one picture:
# one row per resolution, the pictures in walk order, each labelled.
# Sets up and builds like demo.sh first. Usage: contact_sheet.sh [sheet.png]
# (default build/contact-sheet.png; the single pictures stay in build/tour/).
set -eu
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${VH_BUILD_DIR:-$root/build}"
tour="$build/tour"
sheet="$(realpath -m "${1:-$build/contact-sheet.png}")"

"$root/tools/deps.sh"
. "$root/tools/wine-env.sh"
tree="$build/$VH_WIN_TREE"
"$root/tools/build.sh" "$VH_WIN_TREE"
"$root/tools/wine-prefix.sh" "$tour/wineprefix-$VH_WINE_KIND"
export WINEPREFIX="$tour/wineprefix-$VH_WINE_KIND"
rm -rf "$tour/package" "$tour/shots"
mkdir -p "$tour/package"
xvfb-run -a wine "$tree/make_package.exe" "Z:$tour/package"
wineserver -w
cp "$tree/VelmoraSetup.exe" "$tour/package/"

# One virtual display and one wineserver for the four walks; each walk
# installs into a fresh C:\Holter.
cat >"$tour/walk.sh" <<'WALK'
set -eu
wineserver -p
trap 'wineserver -k || true' EXIT
wine wineboot >/dev/null 2>&1 || true
windows_path() { printf 'Z:%s' "$1" | tr / '\\'; }
for dpi in 96 120 144 192; do
    rm -rf "$WINEPREFIX/drive_c/Holter"
    mkdir -p "$TOUR/shots/$dpi"
    wine "$TREE/page_tour.exe" "$(windows_path "$TOUR/package/VelmoraSetup.exe")" \
        "$(windows_path "$TOUR/shots/$dpi")" "$dpi"
done
WALK
TOUR="$tour" TREE="$tree" xvfb-run -a -s "-screen 0 1280x1024x24" sh "$tour/walk.sh"

# Rows of equal length: a picture missing at one resolution (the completion
# question is not asked at 96) leaves an empty cell.
names="$(cd "$tour/shots" && ls 96 120 144 192 | grep '\.bmp$' | sort -u)"
set --
for dpi in 96 120 144 192; do
    for name in $names; do
        if [ -f "$tour/shots/$dpi/$name" ]; then
            set -- "$@" -label "$dpi dpi  ${name%.bmp}" "$tour/shots/$dpi/$name"
        else
            set -- "$@" -label "" null:
        fi
    done
done
columns="$(echo "$names" | wc -l)"
montage "$@" -tile "${columns}x4" -geometry +8+8 -background '#5a5a5a' -fill white -font DejaVu-Sans -pointsize 18 "$sheet"
echo "Contact sheet: $sheet"
