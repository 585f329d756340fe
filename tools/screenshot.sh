#!/bin/sh
# Inside an X display: starts a Windows program under Wine, waits until it
# has painted, saves a screenshot of the whole screen and ends the prefix's
# processes. Usage: screenshot.sh <program.exe> <shot.png> [seconds]
set -eu
. "$(dirname "$0")/wine-env.sh"
: "${WINEPREFIX:?}"
wineserver -p
wine "$1" &
sleep "${3:-8}"
import -display "$DISPLAY" -window root "$2"
wineserver -k || true
