#!/bin/sh
# Runs a Windows test program as an unprivileged user in a Wine prefix of
# that user's own. Wine run as root replaces read-only files as if they were
# writable, so the cases that rely on the read-only protection run here.
# Switching users needs root; without it the run reports a skip (code 77).
# Usage: unprivileged.sh <folder for the user's prefix> <program> [arguments]
set -eu
root="$(cd "$(dirname "$0")/../.." && pwd)"
. "$root/tools/wine-env.sh"
home="$1"
shift
if [ "$(id -u)" != 0 ]; then
    echo "skipped: switching to an unprivileged user needs root"
    exit 77
fi
user=65534
as_user() {
    # No windows are needed, and the display belongs to another user.
    setpriv --reuid=$user --regid=$user --clear-groups env -u DISPLAY -u XAUTHORITY HOME="$home" \
        WINEPREFIX="$home/wineprefix" "$@"
}
# A checkout in a private folder (a home folder, say) is out of that user's
# reach: nothing can be tested there.
if ! setpriv --reuid=$user --regid=$user --clear-groups test -r "$1"; then
    echo "skipped: user $user cannot read $1"
    exit 77
fi
if [ "$(cat "$home/wineprefix/.ready" 2>/dev/null)" != "$WINEARCH" ]; then
    rm -rf "$home"
    mkdir -p "$home"
    chown $user:$user "$home"
    as_user "$root/tools/wine-prefix.sh" "$home/wineprefix"
fi
status=0
as_user wine "$@" || status=$?
as_user wineserver -k 2>/dev/null || true
exit $status
