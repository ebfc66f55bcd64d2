#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 die Entwickler von Teiler
# SPDX-License-Identifier: GPL-3.0-or-later
#
# Installs a built tree into a scratch root and checks what a desktop needs from it: the program
# in bin, a valid desktop entry that takes boards, their MIME type, valid AppStream data and the
# icon at 16, 32 pixels and as SVG.
#   tests/smoke/check_install.sh <build directory>
set -euo pipefail
build=${1:?usage: check_install.sh <build directory>}
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

DESTDIR="$root" cmake --install "$build" --prefix /usr >/dev/null
share="$root/usr/share"

[ -x "$root/usr/bin/teiler" ] || fail "bin/teiler is missing or not executable"

desktop="$share/applications/teiler.desktop"
[ -f "$desktop" ] || fail "no desktop entry"
desktop-file-validate "$desktop" || fail "desktop-file-validate rejects $desktop"
grep -qx 'Name=Teiler' "$desktop" || fail "desktop entry is not named Teiler"
grep -qx 'Exec=teiler --fit-board %f' "$desktop" || fail "desktop entry does not open a file maximized at the fit factor"
grep -qx 'MimeType=application/x-teiler;' "$desktop" || fail "desktop entry does not take boards"

# The boards' file type: *.teiler is application/x-teiler once the MIME database is built.
mime="$share/mime/packages/teiler.xml"
[ -f "$mime" ] || fail "no MIME type for boards"
update-mime-database "$share/mime" || fail "update-mime-database rejects $mime"
grep -qxF 'application/x-teiler:*.teiler' "$share/mime/globs" || fail "*.teiler is no board"
grep -qx 'Icon=teiler' "$desktop" || fail "desktop entry does not name the icon teiler"
categories=$(sed -n 's/^Categories=//p' "$desktop")
for c in Education Math; do
    [[ ";$categories" == *";$c;"* ]] || fail "category $c missing from '$categories'"
done

metainfo="$share/metainfo/de.teiler.teiler.metainfo.xml"
[ -f "$metainfo" ] || fail "no AppStream metainfo"
appstreamcli validate --no-net --pedantic "$metainfo" || fail "appstreamcli rejects $metainfo"
appstreamcli validate-tree --no-net "$root" || fail "appstreamcli rejects the installed tree"

for size in 16 32; do
    png="$share/icons/hicolor/${size}x${size}/apps/teiler.png"
    [ -f "$png" ] || fail "no ${size}x${size} icon"
    got=$(identify -format '%wx%h' "$png")
    [ "$got" = "${size}x${size}" ] || fail "$png is $got"
done
svg="$share/icons/hicolor/scalable/apps/teiler.svg"
[ -f "$svg" ] || fail "no scalable icon"

# The SVG is drawn after the 32-pixel image; rendered at that size it must show the same picture.
# The fuzz allows for the window's icon being reduced to a small palette; the count for the corners
# of the red outline, which Qt's 2-pixel pen places a little differently.
rsvg-convert -w 32 -h 32 "$svg" -o "$root/svg32.png" || fail "cannot render $svg"
differing=$(compare -metric AE -fuzz 15% "$root/svg32.png" \
    "$share/icons/hicolor/32x32/apps/teiler.png" null: 2>&1 || true)
[[ "$differing" =~ ^[0-9]+$ ]] || fail "cannot compare the icons: $differing"
[ "$differing" -le 8 ] || fail "the SVG icon differs from the 32-pixel icon in $differing pixels"
echo "installed tree is complete and valid"
