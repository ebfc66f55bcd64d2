#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 die Entwickler von Teiler
# SPDX-License-Identifier: GPL-3.0-or-later
#
# The installed file type under Wine, in Xvfb with openbox: a board opened as Explorer opens it
# on a double click (start, through the registry's .teiler entry) must show in Teiler's window
# under its name, and the window must close without a question. WINEPREFIX must name a prefix in
# which Teiler is installed (scripts/windows.sh installs it there).
#   tests/smoke/wine_open_board.sh <board.teiler> [directory for the screenshots]
set -euo pipefail

board=$(realpath "${1:?usage: wine_open_board.sh <board.teiler> [screenshot directory]}")
out=${2:-$(mktemp -d)}
mkdir -p "$out"
out=$(realpath "$out")
: "${WINEPREFIX:?WINEPREFIX must name a Wine prefix with Teiler installed}"

fail() {
    echo "wine open board: FAIL: $*" >&2
    echo "wine open board: screenshots and logs are in $out" >&2
    exit 1
}
log() { echo "wine open board: $*"; }

source "$(dirname "$0")/xdriver.sh"
start_x_for_wine

rm -rf "${WINEPREFIX:?}"/drive_c/users/*/AppData/Roaming/Teiler
teiler=/usr/lib/wine/wine64
teiler_args=(start /unix "$board")
start_teiler board
name="$(basename "$board") – Teiler"
poll 100 title_is "$name" || fail "the window is named \"$(xdotool getwindowname "$wid")\", not \"$name\""
shot board
log "start opened $(basename "$board") in Teiler's window"
wmctrl -i -c "$wid"
poll 300 eval '! xdotool search --onlyvisible --name "^$name\$" >/dev/null 2>&1' ||
    fail "the unchanged board's window did not close"
timeout 60 /usr/lib/wine/wineserver64 -w || fail "Teiler did not end after its window closed"
log "closed without a question"
