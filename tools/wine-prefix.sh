#!/bin/sh
# Creates a Wine prefix for tests and the demo, unless it exists:
# real Desktop/Documents folders inside the prefix, and a virtual desktop so
# windows get captions and message boxes close quickly. The prefix is of
# the kind this host's Wine runs (tools/wine-env.sh); a prefix of the other
# kind in the same folder is made anew.
# Usage: wine-prefix.sh <prefix folder>
set -eu
. "$(dirname "$0")/wine-env.sh"
export WINEPREFIX="$(realpath -m "$1")"
[ -f "$WINEPREFIX/.ready" ] && [ "$(cat "$WINEPREFIX/.ready")" = "$WINEARCH" ] && exit 0

rm -rf "$WINEPREFIX"
mkdir -p "$WINEPREFIX"
if ! out="$(wine wineboot -i 2>&1)" || ! wineserver -w 2>/dev/null || [ ! -f "$WINEPREFIX/system.reg" ]; then
    echo "Cannot create the $WINEARCH Wine prefix $WINEPREFIX with $WINELOADER:" >&2
    echo "$out" | tail -n 20 >&2
    exit 1
fi

# The user's shell folders are links into the Linux home folder: make them
# real folders of the prefix so shortcuts and documents stay inside it.
for link in "$WINEPREFIX"/drive_c/users/*/*; do
    if [ -L "$link" ]; then
        rm "$link"
        mkdir "$link"
    fi
done

wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1
wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1024x768 /f >/dev/null 2>&1
# Metric-compatible stand-ins for the Windows fonts the pages name.
for pair in "Times New Roman=Liberation Serif" "Arial=Liberation Sans" "Courier New=Liberation Mono"; do
    wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v "${pair%%=*}" /d "${pair#*=}" /f >/dev/null 2>&1
done
wineserver -w
echo "$WINEARCH" >"$WINEPREFIX/.ready"
