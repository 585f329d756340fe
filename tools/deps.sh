#!/bin/sh
# Installs what building and testing need on Debian 12 (run as root, or with
# sudo available). Does nothing when everything is already there.
# Both cross-compilers always (the x86-64 tree builds on every host); the
# Wine that this host can run: 32-bit Wine where 32-bit programs run, else
# 64-bit Wine alone (tools/host-kind.sh tells which).
set -eu
root="$(cd "$(dirname "$0")/.." && pwd)"
. "$root/tools/host-kind.sh"

PACKAGES="g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix libz-mingw-w64-dev googletest libgtest-dev
zlib1g-dev cmake make xvfb xauth fonts-wine fonts-liberation fonts-dejavu-core fonts-dejavu-extra imagemagick
clang clang-format libclang-rt-14-dev python3 locales osslsigncode openssl chromium poppler-utils"
if [ "$VH_WINE_KIND" = win64 ]; then
    PACKAGES="$PACKAGES wine wine64"
else
    PACKAGES="$PACKAGES wine wine32:i386"
fi

SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO="sudo"

missing=""
for p in $PACKAGES; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing="$missing $p"
done
if [ -n "$missing" ]; then
    echo "Installing:$missing"
    case "$missing" in *:i386*) $SUDO dpkg --add-architecture i386 ;; esac
    $SUDO apt-get update -q
    DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -q --no-install-recommends $missing
fi

# Wine takes its regional settings (code page 1251) from the Russian locale.
if ! locale -a | grep -qi '^ru_RU\.utf-\?8$'; then
    $SUDO sed -i 's/^# *ru_RU.UTF-8 UTF-8/ru_RU.UTF-8 UTF-8/' /etc/locale.gen
    grep -q '^ru_RU.UTF-8 UTF-8' /etc/locale.gen || echo 'ru_RU.UTF-8 UTF-8' | $SUDO tee -a /etc/locale.gen >/dev/null
    $SUDO locale-gen >/dev/null
fi
