#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 die Entwickler von Teiler
# SPDX-License-Identifier: GPL-3.0-or-later
#
# Signs a Windows program or Windows Installer package in place with Authenticode (osslsigncode),
# with the code-signing certificate of whoever distributes it (a school, a publisher):
#   TEILER_SIGN_CERT=<file.p12|.pfx> [TEILER_SIGN_PASS=<password>] sign-windows.sh FILE [NAME]
#   TEILER_SIGN_CERT=<chain.pem> TEILER_SIGN_KEY=<key.pem> [TEILER_SIGN_PASS=...] ... FILE [NAME]
#   TEILER_SIGN_TIMESTAMP=<URL>   a timestamp authority (RFC 3161): the signature then stays valid
#                                 after the certificate has expired
# A certificate ending in .p12 or .pfx is read as PKCS#12 with its key; any other as the
# certificate chain (PEM or DER, the signer's certificate first) beside the key TEILER_SIGN_KEY.
# The password goes to osslsigncode in a file only its owner reads, never on its command line. scripts/windows.sh
# calls this for teiler.exe, the installer, its uninstaller and the MSI package when
# TEILER_SIGN_CERT is set. NAME names the file in messages (makensis hands over a temporary file).
set -euo pipefail

file=${1:?usage: sign-windows.sh <file.exe|file.msi> [name] (with TEILER_SIGN_CERT set)}
name=${2:-$(basename "$file")}
cert=${TEILER_SIGN_CERT:?TEILER_SIGN_CERT must name the code-signing certificate}
fail() {
    echo "signing $name: $*" >&2
    exit 1
}
[ -f "$file" ] || fail "there is no such file"
[ -r "$cert" ] || fail "the certificate $cert cannot be read"

args=(sign -h sha256 -n Teiler)
case "${cert,,}" in
*.p12 | *.pfx)
    args+=(-pkcs12 "$cert")
    ;;
*)
    key=${TEILER_SIGN_KEY:-}
    [ -n "$key" ] || fail "TEILER_SIGN_KEY must name the key of $cert (or give a .p12/.pfx file)"
    [ -r "$key" ] || fail "the key $key cannot be read"
    args+=(-certs "$cert" -key "$key")
    ;;
esac
if [ -n "${TEILER_SIGN_TIMESTAMP:-}" ]; then
    args+=(-ts "$TEILER_SIGN_TIMESTAMP")
fi

# osslsigncode writes a new file, which must not exist yet; the signed file replaces the original
# only when it is complete.
work=$(mktemp -d "$(dirname "$file")/.signing.XXXXXX")
trap 'rm -rf "$work"' EXIT
signed=$work/$(basename "$file")
# The password in a file only its owner reads (Debian 12's osslsigncode 2.5 reads no pipe).
if [ -n "${TEILER_SIGN_PASS:-}" ]; then
    (umask 077 && printf '%s' "$TEILER_SIGN_PASS" >"$work/password")
    args+=(-readpass "$work/password")
fi
log=$(osslsigncode "${args[@]}" -in "$file" -out "$signed" 2>&1) || {
    echo "$log" >&2
    fail "osslsigncode failed"
}
chmod --reference="$file" "$signed"
mv -f "$signed" "$file"
echo "signed: $name"
