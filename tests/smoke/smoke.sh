#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 die Entwickler von Teiler
# SPDX-License-Identifier: GPL-3.0-or-later
#
# End-to-end check of the built program in a real X server: starts teiler under Xvfb with the
# openbox window manager, waits for the window "Teiler", checks colours where the layout puts
# them, chooses "Zahlenstrahl" > "501...1000" with real pointer events and checks that the number
# line changed, pastes the PRIMARY selection into the hit list with the middle button (without
# and with a program owning it) and the clipboard with the keys while nobody owns it, then closes the window through the window manager and, in a
# second run, through "Datei" > "beenden"; a third run with --zoom 2, too large for the screen,
# must be lowered to a factor at which the whole window, title bar included, is on the screen. Every run must end with exit status 0.
#   tests/smoke/smoke.sh <teiler executable> [directory for the screenshots]
set -euo pipefail

teiler=$(realpath "${1:?usage: smoke.sh <teiler executable> [screenshot directory]}")
out=${2:-$(mktemp -d)}
mkdir -p "$out"
out=$(realpath "$out")

fail() {
    echo "smoke: FAIL: $*" >&2
    echo "smoke: screenshots and logs are in $out" >&2
    exit 1
}
log() { echo "smoke: $*"; }

source "$(dirname "$0")/xdriver.sh"
trap stop_started EXIT
start_x 1280x1024x24

expect_colour() { # picture x y colour what
    local got
    got=$(pixel "$1" "$2" "$3")
    [ "$got" = "$4" ] || fail "$5: expected ($4) at ($2, $3), found ($got)"
}

# --- Start, look, close ---------------------------------------------------------------------------
expect_exit_zero() {
    local status=0
    poll 100 eval '! kill -0 "$teiler_pid" 2>/dev/null' || fail "teiler did not exit after $1"
    wait "$teiler_pid" || status=$?
    [ "$status" -eq 0 ] || fail "teiler exited with status $status after $1"
    if grep -E 'QPainter|Recursive repaint|QWidget::repaint' "$out/teiler-$2.log"; then
        fail "teiler complained while drawing (see teiler-$2.log)"
    fi
    log "exited with status 0 after $1"
}

start_teiler first
shot start
log "menu bar ends at row $top"

# Layout in pixels at 96 dpi (15 twips per pixel), below the menu bar.
expect_colour "$out/start.png" 5 $((top + 300)) "$lavender" "window background left of the frame"
expect_colour "$out/start.png" 400 $((top + 640)) "$lavender" "window background below the panel"
expect_colour "$out/start.png" 222 $((top + 240)) "255,255,255" "hit list"
yellow_rows=$(column "$out/start.png" 300 $((top + 500)) $((top + 560)) | grep -c ' 255,255,0$' || true)
[ "$yellow_rows" -ge 8 ] || fail "yellow band of the number line: $yellow_rows yellow rows at x 300"
grid_rows=$(column "$out/start.png" 500 $((top + 100)) $((top + 500)) | grep -c ' 200,200,200$' || true)
[ "$grid_rows" -ge 15 ] || fail "gray grid lines: only $grid_rows gray rows at x 500"
log "colours: lavender background, white hit list, $yellow_rows yellow rows, $grid_rows grid lines"

choose 2 2 2 # "Zahlenstrahl" > "501...1000"
band="$((win_w - 40))x45+20+$((top + 503))"
changed=0
for ((i = 0; i < 50; i++)); do
    shot range2
    changed=$(compare -metric AE "$out/start.png[$band]" "$out/range2.png[$band]" null: 2>&1 || true)
    [[ "$changed" =~ ^[0-9]+$ ]] || fail "cannot compare the screenshots: $changed"
    [ "$changed" -gt 500 ] && break
    sleep 0.1
done
[ "$changed" -gt 500 ] || fail "the number line did not change after 501...1000 ($changed pixels)"
log "501...1000 changed $changed pixels of the number line"

# The middle button pastes the PRIMARY selection into the hit list: nothing happens while no
# program owns the selection, its text arrives when one does.
list="300x200+60+$((top + 120))"
shot unpasted
xdotool mousemove --sync $((win_x + 222)) $((win_y + top + 240)) click 2
sleep 0.3
kill -0 "$teiler_pid" 2>/dev/null || fail "a middle click in the hit list without a selection killed teiler"
printf 'Hallo 220' | xclip -selection primary &
selection_owner=$!
started+=("$selection_owner")
sleep 0.3
xdotool mousemove --sync $((win_x + 222)) $((win_y + top + 240)) click 2
pasted=0
for ((i = 0; i < 30; i++)); do
    shot pasted
    pasted=$(compare -metric AE "$out/unpasted.png[$list]" "$out/pasted.png[$list]" null: 2>&1 || true)
    [[ "$pasted" =~ ^[0-9]+$ ]] && [ "$pasted" -gt 50 ] && break
    sleep 0.1
done
kill "$selection_owner" 2>/dev/null || true
[[ "$pasted" =~ ^[0-9]+$ ]] && [ "$pasted" -gt 50 ] || fail "the middle click pasted nothing into the hit list ($pasted)"
log "middle clicks in the hit list: none without a selection, $pasted pixels of text with one"

# Ctrl+V and Shift+Insert in the hit list while the clipboard has no owner (its owner has quit).
printf 'x' | xclip -quiet -selection clipboard -i >/dev/null 2>&1 &
clipboard_owner=$!
sleep 0.2
kill "$clipboard_owner" 2>/dev/null || true
wait "$clipboard_owner" 2>/dev/null || true
xdotool mousemove --sync $((win_x + 222)) $((win_y + top + 240)) click 1 sleep 0.2 key ctrl+v \
    sleep 0.2 key shift+Insert
sleep 0.5
kill -0 "$teiler_pid" 2>/dev/null || fail "pasting into the hit list from a clipboard without owner killed teiler"
log "pasting from a clipboard without owner: teiler goes on"

wmctrl -F -c Teiler
expect_exit_zero "the window manager closed the window" first

start_teiler second
plain_h=$win_h
choose 1 5 5 # "Datei" > "beenden"
expect_exit_zero '"Datei" > "beenden"' second

# Twice as large would be taller than the screen: the factor is lowered to the largest that fits,
# a line says so, and the whole window with its title bar (openbox's frame) is on the screen.
teiler_args=(--zoom 2)
start_teiler zoomed
frame=$(xwininfo -id "$wid" -tree | awk '/Parent window id/ {print $4}')
IFS='x+' read -r frame_w frame_h frame_x frame_y <<<"$(geometry_of "$frame")"
[ "$win_h" -gt "$plain_h" ] || fail "--zoom 2 did not make the window larger (height $win_h)"
grep -q -- '--zoom 2 ist für diesen Bildschirm zu groß' "$out/teiler-zoomed.log" ||
    fail "no line said that --zoom 2 was lowered: $(cat "$out/teiler-zoomed.log")"
[ "$frame_y" -ge 0 ] && [ "$frame_x" -ge 0 ] && [ "$win_y" -gt "$frame_y" ] &&
    [ $((frame_x + frame_w)) -le 1280 ] && [ $((frame_y + frame_h)) -le 1024 ] ||
    fail "the zoomed window is not wholly on the screen (frame ${frame_w}x${frame_h}+${frame_x}+${frame_y})"
log "--zoom 2, lowered: window ${win_w}x${win_h}, its frame ${frame_w}x${frame_h}+${frame_x}+${frame_y}"
wmctrl -F -c Teiler
expect_exit_zero "closing the zoomed window" zoomed
log "passed"
