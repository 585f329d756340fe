#!/bin/sh
# Signs a copy of the installer with tools/sign.sh, a throw-away
# self-signed certificate and an RFC 3161 time stamp from a throw-away
# time-stamp authority on the loopback address (tests/time_stamp_authority.py,
# ended with the script), checks the signature and its time stamp with
# osslsigncode (and that a changed byte breaks it), then starts the signed
# copy under Wine and
# checks that it reaches its welcome page; a host that runs 64-bit programs
# only cannot start the 32-bit exe, and the run says so among the skips.
# Usage: signed_exe.sh <VelmoraSetup.exe> <welcome_check.exe>
# WINEPREFIX comes from the test's environment.
set -eu
root="$(cd "$(dirname "$0")/.." && pwd)"
exe="$1"
check="$2"
work="$(mktemp -d)"
tsa=""
trap '[ -z "$tsa" ] || kill "$tsa" 2>/dev/null; rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; exit 1; }
[ -f "$exe" ] || fail "no shipped exe at $exe: build it with tools/build.sh release"

openssl req -x509 -newkey rsa:2048 -sha256 -days 1 -nodes -subj "/CN=Velmora test signing" \
    -addext "extendedKeyUsage=codeSigning" -keyout "$work/key.pem" -out "$work/cert.pem" 2>/dev/null
openssl pkcs12 -export -inkey "$work/key.pem" -in "$work/cert.pem" -out "$work/cert.p12" -passout pass:throw-away

# The time-stamp authority: a certificate of its own (time stamping only)
# and openssl's time-stamp configuration.
openssl req -x509 -newkey rsa:2048 -sha256 -days 1 -nodes -subj "/CN=Velmora test time stamps" \
    -addext "extendedKeyUsage=critical,timeStamping" -keyout "$work/tsa-key.pem" -out "$work/tsa.pem" 2>/dev/null
echo 01 >"$work/tsa-serial"
cat >"$work/tsa.cnf" <<CONFIG
[ tsa ]
default_tsa = throw_away
[ throw_away ]
serial = $work/tsa-serial
signer_cert = $work/tsa.pem
certs = $work/tsa.pem
signer_key = $work/tsa-key.pem
signer_digest = sha256
default_policy = 1.3.6.1.4.1.99999.1
digests = sha256, sha384, sha512, sha1
accuracy = secs:1
ess_cert_id_alg = sha256
CONFIG
python3 "$root/tests/time_stamp_authority.py" "$work/tsa.cnf" "$work/tsa-port" </dev/null >"$work/tsa.log" 2>&1 &
tsa=$!
for _ in $(seq 1 300); do
    [ -s "$work/tsa-port" ] && break
    kill -0 "$tsa" 2>/dev/null || { cat "$work/tsa.log"; fail "the time-stamp authority did not start"; }
    sleep 0.1
done
[ -s "$work/tsa-port" ] || fail "the time-stamp authority did not listen within 30 s"
# Straight to the loopback address, whatever proxy the environment names.
unset http_proxy HTTP_PROXY https_proxy HTTPS_PROXY
cp "$exe" "$work/VelmoraSetup.exe"
VH_SIGN_PKCS12="$work/cert.p12" VH_SIGN_PASSWORD=throw-away \
    VH_SIGN_TIMESTAMP="http://127.0.0.1:$(cat "$work/tsa-port")" "$root/tools/sign.sh" "$work/VelmoraSetup.exe"

verify() {
    osslsigncode verify -CAfile "$work/cert.pem" -TSA-CAfile "$work/tsa.pem" -in "$1" >"$work/verify.txt" 2>&1
}
verify "$work/VelmoraSetup.exe" || { cat "$work/verify.txt"; fail "the signature does not verify"; }
grep -q '^Message digest algorithm *: SHA256' "$work/verify.txt" || fail "not a SHA-256 signature"
# osslsigncode 2.9 names the time-stamp signer by its subject, Debian 12's
# own 2.5 by its issuer (the same name: the authority's certificate signs
# itself).
{ grep -q '^Timestamp Server Signature verification: ok' "$work/verify.txt" &&
    grep -Eq '(Subject|Issuer) *: */CN=Velmora test time stamps' "$work/verify.txt"; } ||
    { cat "$work/verify.txt"; fail "no verified time stamp from the time-stamp authority"; }
grep -E '^(Message digest algorithm|Timestamp Server Signature verification|Signature verification|Succeeded)' \
    "$work/verify.txt"

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
echo "OK: the signed, time-stamped copy verifies and starts to its welcome page"
