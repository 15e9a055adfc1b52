#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Signs Windows programs in place with osslsigncode (Authenticode, SHA-256), then verifies each
# signature. package.sh calls it for mkconf.exe, mktool.exe, the installer and (as NSIS writes
# it) the uninstaller, only when MK_SIGN_CERT is set:
#   MK_SIGN_CERT       the certificate: a .pfx/.p12 holding the key too, or a PEM file (with MK_SIGN_KEY)
#   MK_SIGN_KEY        the private key (PEM), beside a PEM certificate
#   MK_SIGN_PASS       the password of the .pfx or of the key, when it has one
#   MK_SIGN_CA         the certificates the signature is verified against (default: the system's
#                      CA bundle); a self-signed certificate is verified against itself
#   MK_SIGN_TIMESTAMP  a timestamp server's URL (RFC 3161), when the signatures should outlive
#                      the certificate
# usage: sign.sh FILE...
set -euo pipefail
: "${MK_SIGN_CERT:?sign.sh: MK_SIGN_CERT names no certificate}"
command -v osslsigncode >/dev/null || { echo "sign.sh: osslsigncode is missing (apt install osslsigncode)" >&2; exit 1; }
[ -f "$MK_SIGN_CERT" ] || { echo "sign.sh: no certificate at $MK_SIGN_CERT" >&2; exit 1; }
case "$MK_SIGN_CERT" in
*.pfx | *.p12) key=(-pkcs12 "$MK_SIGN_CERT") ;;
*) [ -f "${MK_SIGN_KEY:-}" ] || { echo "sign.sh: a PEM certificate needs its key in MK_SIGN_KEY" >&2; exit 1; }
   key=(-certs "$MK_SIGN_CERT" -key "$MK_SIGN_KEY") ;;
esac
ca=${MK_SIGN_CA:-/etc/ssl/certs/ca-certificates.crt}
for file in "$@"; do
    opts=("${key[@]}" -h sha256 -n "Настройка МК")
    [ -n "${MK_SIGN_TIMESTAMP:-}" ] && opts+=(-ts "$MK_SIGN_TIMESTAMP")
    rm -f "$file.signed"
    # The password is read from a descriptor, never given on the command line.
    if [ -n "${MK_SIGN_PASS:-}" ]; then
        osslsigncode sign "${opts[@]}" -readpass <(printf '%s' "$MK_SIGN_PASS") -in "$file" -out "$file.signed" >/dev/null
    else
        osslsigncode sign "${opts[@]}" -in "$file" -out "$file.signed" >/dev/null
    fi
    mv -f "$file.signed" "$file"
    if ! osslsigncode verify -in "$file" -CAfile "$ca" >"$file.verify" 2>&1; then
        cat "$file.verify" >&2; rm -f "$file.verify"
        echo "sign.sh: the signature of $file does not verify against $ca" >&2
        exit 1
    fi
    rm -f "$file.verify"
    echo "signed: $file"
done
