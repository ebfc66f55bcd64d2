#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 die Entwickler von Teiler
# SPDX-License-Identifier: GPL-3.0-or-later
#
# The Windows build's real window under Wine, with Qt's Windows platform plugin, in Xvfb with the
# openbox window manager: it must open, draw "Teiler" > "Teileranzahl T(n)" chosen with the mouse
# and the keys, turn 220 into " 284" with "S", and end with exit status 0 when the window manager
# closes it and the question about the changed board is answered with "Verwerfen". Before, --help
# in a console window of code page 850 must read right and teiler.exe must carry its version
# resource; given the installer, it must refuse to install while the window is open. WINEPREFIX
# must name a prepared prefix (scripts/windows.sh makes one).
#   tests/smoke/wine_smoke.sh <folder with teiler.exe> [directory for the screenshots] [setup.exe]
set -euo pipefail

folder=$(realpath "${1:?usage: wine_smoke.sh <folder with teiler.exe> [screenshot directory] [setup.exe]}")
setup=${3:-}
out=${2:-$(mktemp -d)}
mkdir -p "$out"
out=$(realpath "$out")
: "${WINEPREFIX:?WINEPREFIX must name a prepared Wine prefix}"

fail() {
    echo "wine smoke: FAIL: $*" >&2
    echo "wine smoke: screenshots and logs are in $out" >&2
    exit 1
}
log() { echo "wine smoke: $*"; }

source "$(dirname "$0")/xdriver.sh"
start_x_for_wine

# Wine's own processes stay up from the first start to the last, all started with the display:
# a cold start of Wine, as after each of the console's commands, can take longer than a window is
# waited for on a busy machine.
/usr/lib/wine/wineserver64 -p

# --help in a console of code page 850, as in a German cmd or PowerShell window: script gives
# Wine a terminal, so that cmd gets a real console, whose text Wine hands on as UTF-8. UTF-8
# written into that console as bytes would read "f├╝r".
help=$(cd "$folder" && timeout 120 script -qec \
    "/usr/lib/wine/wine64 cmd /c 'chcp 850 >nul & teiler.exe --help'" /dev/null | tr -d '\r') ||
    fail "teiler.exe --help did not end in the console"
printf '%s\n' "$help" >"$out/help-console.txt"
grep -q 'Vergrößert das ganze Fenster um den Faktor F (1 bis 4) für' <<<"$help" ||
    fail "--help in a console of code page 850 does not read right; see $out/help-console.txt"
log "--help reads right in a console of code page 850: $(grep -o -m1 'Vergrößert.*für' <<<"$help")"

# teiler.exe's version resource: the project's version from CMakeLists.txt, as numbers and as
# text, the product and its makers. Its strings are UTF-16, each value after its key.
version=$(sed -n 's/^project(teiler VERSION \([0-9.]*\).*/\1/p' "$(dirname "$0")/../../CMakeLists.txt")
rsrc=$out/teiler-rsrc.bin
x86_64-w64-mingw32-objcopy -O binary --only-section=.rsrc "$folder/teiler.exe" "$rsrc"
resource() {
    iconv -c -f UTF-16LE -t UTF-8 "$rsrc" | tr '\0' '\n' | grep -v '^$' | grep -A1 "$1\$" | sed -n 2p
}
for pair in "ProductName=Teiler" "CompanyName=Die Entwickler von Teiler" \
    "FileVersion=$version" "ProductVersion=$version"; do
    got=$(resource "${pair%%=*}")
    [ "$got" = "${pair#*=}" ] || fail "teiler.exe's ${pair%%=*} is \"$got\", not \"${pair#*=}\""
done
# VS_FIXEDFILEINFO after its signature: the file version's two double words, low word first.
at=$(LC_ALL=C grep -obUaP '\xbd\x04\xef\xfe' "$rsrc" | head -1 | cut -d: -f1)
[ -n "$at" ] || fail "teiler.exe has no version resource"
read -r minor major patch_tweak < <(od -An -tu2 -j $((at + 8)) -N 8 "$rsrc" |
    awk '{print $1, $2, $4 "." $3}')
IFS=. read -ra parts <<<"$version.0.0.0"
[ "$major.$minor.$patch_tweak" = "${parts[0]}.${parts[1]}.${parts[2]}.${parts[3]}" ] ||
    fail "teiler.exe's file version is $major.$minor.$patch_tweak, not $version"
log "teiler.exe's version resource: Teiler $major.$minor.$patch_tweak, Die Entwickler von Teiler"

# A recovery file left by an earlier run that ended badly would be offered at the start.
rm -rf "${WINEPREFIX:?}"/drive_c/users/*/AppData/Roaming/Teiler
teiler=/usr/lib/wine/wine64
teiler_args=("$folder/teiler.exe")
start_teiler wine
shot start
log "menu bar ends at row $top"

# "Teiler" > "Teileranzahl T(n)": the menu opened with the mouse, the entry taken with the keys.
# Wine may paint the menu bar's captions a moment after the window's background.
third_entry() {
    shot menu
    read -r left right < <(menu_entries "$out/menu.png" | sed -n 3p) && [ -n "$left" ]
}
left="" right=""
poll 50 third_entry || fail "the menu bar has no third entry"
xdotool mousemove --sync $((win_x + (left + right) / 2)) $((win_y + top / 2)) click 1
sleep 1
xdotool key Down Down Return
canvas="700x380+60+$((top + 120))"
changed=0
for ((i = 0; i < 100; i++)); do
    sleep 0.2
    shot chart
    changed=$(compare -metric AE "$out/start.png[$canvas]" "$out/chart.png[$canvas]" null: 2>&1 || true)
    [[ "$changed" =~ ^[0-9]+$ ]] || fail "cannot compare the screenshots: $changed"
    [ "$changed" -gt 2000 ] && break
done
[ "$changed" -gt 2000 ] || fail "the chart T(n) was not drawn ($changed pixels changed)"
log "T(n) changed $changed pixels of the canvas"

# Two seconds after the change Teiler keeps the board for recovery: a board file as Teiler
# writes it, left in the screenshot folder as tafel.teiler for the test of the file type
# (tests/smoke/wine_open_board.sh).
kept() { compgen -G "$WINEPREFIX/drive_c/users/*/AppData/Roaming/Teiler/wiederherstellung/*.teiler"; }
poll 100 eval 'kept >/dev/null' || fail "the changed board was not kept for recovery"
cp "$(kept | head -n1)" "$out/tafel.teiler"

# The installer, run silently while Teiler is open, ends with exit code 2 and installs nothing.
if [ -n "$setup" ]; then
    status=0
    /usr/lib/wine/wine64 "$setup" /S || status=$?
    [ "$status" -eq 2 ] || fail "the installer ended with exit code $status while Teiler was open"
    [ ! -e "$WINEPREFIX/drive_c/Program Files/Teiler" ] ||
        fail "the installer installed while Teiler was open"
    log "the installer refused to install while Teiler was open (exit code 2)"
fi

# 220 in the field of the S step (left 396, top 588, 117 x 29 pixels), "S" (344, 588, 37 x 29).
ix=$((396 + 58)) iy=$((top + 588 + 14)) sx=$((344 + 18)) sy=$((top + 588 + 14))
got=""
for ((i = 0; i < 3; i++)); do
    click_at "$ix" "$iy"
    xdotool key ctrl+a
    xdotool type --delay 50 -- 220
    click_at "$sx" "$sy"
    sleep 0.5
    click_at "$ix" "$iy"
    xdotool key ctrl+a ctrl+c
    for ((j = 0; j < 20; j++)); do
        sleep 0.2
        got=$(timeout 2 xclip -o -selection clipboard 2>/dev/null || true)
        [ "$got" = " 284" ] && break 2
    done
done
shot s-step
[ "$got" = " 284" ] || fail "after 220 and \"S\" the field reads \"$got\" instead of \" 284\""
log "220 and \"S\" gave \" 284\""

wmctrl -i -c "$wid"
# The chart changed the board: closing asks first, and "Verwerfen" lets it go.
poll 100 find_box Teiler >/dev/null || fail "closing the changed board asked nothing"
shot question
xdotool key alt+v
status=0
poll 300 eval '! kill -0 "$teiler_pid" 2>/dev/null' || fail "teiler.exe did not end after the close"
wait "$teiler_pid" || status=$?
[ "$status" -eq 0 ] || fail "teiler.exe ended with status $status"
log "closed with status 0; the window is in $out/chart.png"
