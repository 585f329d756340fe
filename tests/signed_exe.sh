#!/bin/sh
# Signs a copy of the installer with tools/sign.sh and a throw-away
# self-signed certificate, checks the signature with osslsigncode (and that
# a changed byte breaks it), then starts the signed copy under Wine and
# checks that it reaches its welcome page; a host that runs 64-bit programs
# only cannot start the 32-bit exe, and the run says so among the skips.
# Usage: signed_exe.sh <VelmoraSetup.exe> <welcome_check.exe>
# WINEPREFIX comes from the test's environment.
set -eu
root="$(cd "$(dirname "$0")/.." && pwd)"
exe="$1"
check="$2"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; exit 1; }
[ -f "$exe" ] || fail "no shipped exe at $exe: build it with tools/build.sh release"

openssl req -x509 -newkey rsa:2048 -sha256 -days 1 -nodes -subj "/CN=Velmora test signing" \
    -addext "extendedKeyUsage=codeSigning" -keyout "$work/key.pem" -out "$work/cert.pem" 2>/dev/null
openssl pkcs12 -export -inkey "$work/key.pem" -in "$work/cert.pem" -out "$work/cert.p12" -passout pass:throw-away
cp "$exe" "$work/VelmoraSetup.exe"
VH_SIGN_PKCS12="$work/cert.p12" VH_SIGN_PASSWORD=throw-away "$root/tools/sign.sh" "$work/VelmoraSetup.exe"

verify() { osslsigncode verify -CAfile "$work/cert.pem" -in "$1" >"$work/verify.txt" 2>&1; }
verify "$work/VelmoraSetup.exe" || { cat "$work/verify.txt"; fail "the signature does not verify"; }
grep -q '^Message digest algorithm *: SHA256' "$work/verify.txt" || fail "not a SHA-256 signature"
grep -E '^(Message digest algorithm|Signature verification|Succeeded)' "$work/verify.txt"

# The signature covers the image: one changed byte of code must fail it.
cp "$work/VelmoraSetup.exe" "$work/changed.exe"
byte=$(od -An -tu1 -j 4096 -N 1 "$work/changed.exe" | tr -d ' ')
printf "\\$(printf %o $(((byte + 1) % 256)))" | dd of="$work/changed.exe" bs=1 seek=4096 conv=notrunc status=none
cmp -s "$work/VelmoraSetup.exe" "$work/changed.exe" && fail "the byte did not change"
! verify "$work/changed.exe" || fail "a changed copy still verifies"
echo "A copy with one changed byte fails verification, as it must"

. "$root/tools/host-kind.sh"
if [ "$VH_WINE_KIND" = win64 ]; then
    echo "SKIPPED: starting the signed copy: ${VH_WINE_PATH_LINE%%:*}, so the 32-bit exe is verified, not started"
    exit 0
fi
"$root/tools/wine-run" "$check" "Z:$(echo "$work/VelmoraSetup.exe" | tr / '\\')" || fail "the signed copy did not reach its welcome page"
echo "OK: the signed copy verifies and starts to its welcome page"
