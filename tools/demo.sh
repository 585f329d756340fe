#!/bin/sh
# Sets up everything, builds the installer, lays out a demo distribution
# folder (the installer beside a sample package) and starts the wizard under
# Wine. With a display the wizard opens there; without one it runs on a
# virtual display, a screenshot of the welcome page is saved and its path
# printed. On a host that runs 64-bit programs only (or with VH_WINE64=1)
# the x86-64 build of the wizard runs under 64-bit Wine.
set -eu
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${VH_BUILD_DIR:-$root/build}"

. "$root/tools/host-kind.sh"
echo "== Wine: $VH_WINE_PATH_LINE"
"$root/tools/deps.sh"
. "$root/tools/wine-env.sh"
demo="$build/demo-$VH_WINE_KIND"
tree="$build/$VH_WIN_TREE"
# Only what the demo shows: the wizard, the package maker and the stand-ins
# the package carries for the driver installer and the package's program.
"$root/tools/build.sh" "$VH_WIN_TREE" VelmoraSetup make_package FTDIDriverInstall Shell
"$root/tools/wine-prefix.sh" "$demo/wineprefix"

export WINEPREFIX="$demo/wineprefix"
rm -rf "$demo/package"
mkdir -p "$demo/package"
# The sample package: database, runtime, libraries, fonts, driver installer,
# update packages and updater, with the installer beside them.
xvfb-run -a wine "$tree/make_package.exe" "Z:$demo/package"
wineserver -w  # the next run starts with a fresh wineserver
cp "$tree/VelmoraSetup.exe" "$demo/package/"

if [ -n "${DISPLAY:-}" ]; then
    echo "Starting the wizard from $demo/package"
    exec wine "$demo/package/VelmoraSetup.exe"
fi
shot="$demo/welcome.png"
xvfb-run -a -s "-screen 0 1024x768x24" "$root/tools/screenshot.sh" "$demo/package/VelmoraSetup.exe" "$shot"
echo "No display: the wizard ran on a virtual display. Screenshot: $shot"
