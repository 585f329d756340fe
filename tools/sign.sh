#!/bin/sh
# Signs a Windows program in place with an Authenticode SHA-256 signature.
# Usage: sign.sh <exe>
# Environment:
#   VH_SIGN_PKCS12     the code-signing certificate with its private key (.pfx/.p12)
#   VH_SIGN_PASSWORD   the PKCS#12 file's password (read from the environment,
#                      never put on a command line where other users see it)
#   VH_SIGN_TIMESTAMP  optional: an RFC 3161 time-stamp server URL; with it
#                      the signature stays valid after the certificate expires
set -eu
exe="${1:?usage: sign.sh <exe>}"
: "${VH_SIGN_PKCS12:?VH_SIGN_PKCS12 must name the PKCS#12 certificate file}"
: "${VH_SIGN_PASSWORD?VH_SIGN_PASSWORD must hold the certificate password}"
[ -f "$exe" ] || { echo "sign.sh: no such file: $exe" >&2; exit 1; }

signed="$(mktemp "$exe.signing.XXXXXX")"
trap 'rm -f "$signed"' EXIT
rm -f "$signed"  # osslsigncode writes a new file

set -- -pkcs12 "$VH_SIGN_PKCS12" -readpass /dev/stdin -h sha256 -n "Velmora-Холтер" -in "$exe" -out "$signed"
[ -z "${VH_SIGN_TIMESTAMP:-}" ] || set -- "$@" -ts "$VH_SIGN_TIMESTAMP"
printf '%s' "$VH_SIGN_PASSWORD" | osslsigncode sign "$@" >/dev/null
mv "$signed" "$exe"
echo "Signed $exe (Authenticode SHA-256${VH_SIGN_TIMESTAMP:+, time-stamped by $VH_SIGN_TIMESTAMP})"
