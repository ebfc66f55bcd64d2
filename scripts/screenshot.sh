#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 die Entwickler von Teiler
# SPDX-License-Identifier: GPL-3.0-or-later
#
# Takes the screenshot shown in README.md: Teiler in a virtual X server with the openbox window
# manager, after "Teiler" > "Teileranzahl T(n)  [alle Teiler]" and a search with the start values
# (S(n) = 1, the primes), the window with its title bar.
#   scripts/screenshot.sh [build directory] [picture]     defaults: build data/screenshot.png
# Needs a built teiler (scripts/teiler.sh run or test builds one) and the packages that
# scripts/teiler.sh installs.
set -euo pipefail
cd "$(dirname "$0")/.."

build=${1:-build}
picture=${2:-data/screenshot.png}
[ -x "$build/app/teiler" ] || { echo "no teiler in $build/app; build it first" >&2; exit 1; }
teiler=$(realpath "$build/app/teiler")
out=$(mktemp -d)

fail() {
    echo "screenshot: FAIL: $*" >&2
    exit 1
}
log() { echo "screenshot: $*"; }

source tests/smoke/xdriver.sh
trap 'stop_started; rm -rf "$out"' EXIT
start_x 1024x768x24

start_teiler screenshot
choose 3 2 4 # "Teiler" > "Teileranzahl T(n)  [alle Teiler]"
# The button "S(n)" of the search: Frame1 inside picSteuerstand, 1080 + 735/2 twips from the
# left and 8820 + 435/2 twips from the top of the client area, at 15 twips per pixel.
click_at 97 $((top + 603))

# Wait until the picture stands still.
previous=""
for ((i = 0; i < 50; i++)); do
    sleep 0.2
    shot now
    current=$(md5sum <"$out/now.png")
    [ "$current" = "$previous" ] && break
    previous=$current
done
import -window "$wid" -frame -depth 8 "$out/framed.png"
convert "$out/framed.png" -strip "$picture"
log "wrote $picture ($(identify -format '%wx%h' "$picture"))"
