#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 die Entwickler von Teiler
# SPDX-License-Identifier: GPL-3.0-or-later
#
# End-to-end check of the built program in a real X server: starts teiler under Xvfb with the
# openbox window manager, waits for the window "Teiler", checks colours where the layout puts
# them, chooses "Zahlenstrahl" > "501...1000" with real pointer events and checks that the number
# line changed, zooms the canvas with Ctrl+Plus and back with Ctrl+0, pastes the PRIMARY
# selection into the hit list with the middle button (without and with a program owning it) and
# the clipboard with the keys while nobody owns it, then closes
# the window through the window manager: the changed board is not dropped without a question,
# "Abbrechen" keeps the window, "Speichern" asks for a name, writes the board and closes. A second
# run opens that board, changes it, saves it in place with Ctrl+S, saves the whole range of a
# chart as a PDF of ten pages through "Bild speichern …" with the keys, and ends through "Datei" >
# "beenden"; a third run with --zoom 2, too large for the screen, must be lowered to a factor at
# which the whole window, title bar included, is on the screen. A fourth, maximized, goes to full
# screen and back twenty times and must come back maximized each time. A fifth is killed with
# SIGKILL after a change: the next start offers the board and restores it pixel for pixel. Last,
# a named pipe given as the board is refused at once. Every run must end with exit status 0.
#   tests/smoke/smoke.sh <teiler executable> [directory for the screenshots]
set -euo pipefail

teiler=$(realpath "${1:?usage: smoke.sh <teiler executable> [screenshot directory]}")
out=${2:-$(mktemp -d)}
mkdir -p "$out"
out=$(realpath "$out")
# Boards of an earlier run would make "Speichern" ask whether to overwrite them.
rm -f "$out"/*.teiler

fail() {
    echo "smoke: FAIL: $*" >&2
    echo "smoke: screenshots and logs are in $out" >&2
    exit 1
}
log() { echo "smoke: $*"; }

source "$(dirname "$0")/xdriver.sh"
trap stop_started EXIT
start_x 1280x1024x24
# Settings and recovery files of these runs only.
export XDG_DATA_HOME=$out/data XDG_CONFIG_HOME=$out/config
rm -rf "$XDG_DATA_HOME" "$XDG_CONFIG_HOME"
recovery_files() { compgen -G "$XDG_DATA_HOME/Teiler/wiederherstellung/tafel-*.teiler"; }

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

# Ctrl+Plus zooms the canvas around the pointer; Ctrl+0 brings back its picture pixel for pixel.
xdotool mousemove --sync $((win_x + 600)) $((win_y + top + 400))
sleep 0.3
shot unzoomed
canvas_part="700x420+60+$((top + 100))"
xdotool key ctrl+plus
zoomed=0
for ((i = 0; i < 30; i++)); do
    shot zoomed
    zoomed=$(compare -metric AE "$out/unzoomed.png[$canvas_part]" "$out/zoomed.png[$canvas_part]" null: 2>&1 || true)
    [[ "$zoomed" =~ ^[0-9]+$ ]] || fail "cannot compare the screenshots: $zoomed"
    [ "$zoomed" -gt 1000 ] && break
    sleep 0.1
done
[ "$zoomed" -gt 1000 ] || fail "Ctrl+Plus did not zoom the canvas ($zoomed pixels changed)"
xdotool key ctrl+0
for ((i = 0; i < 30; i++)); do
    shot unzoomed-again
    zoomed=$(compare -metric AE "$out/unzoomed.png[$canvas_part]" "$out/unzoomed-again.png[$canvas_part]" null: 2>&1 || true)
    [ "$zoomed" = 0 ] && break
    sleep 0.1
done
[ "$zoomed" = 0 ] || fail "after Ctrl+0 the canvas differs from before the zoom in $zoomed pixels"
log "Ctrl+Plus zoomed the canvas, Ctrl+0 brought it back pixel for pixel"

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

# The changed board has no file yet: closing it asks first.
title_is "Unbenannt* – Teiler" || fail "the changed board's title is \"$(xdotool getwindowname "$wid")\""
wmctrl -i -c "$wid"
poll 50 find_box Teiler >/dev/null || fail "closing the changed board asked nothing"
shot question
xdotool key Escape
poll 50 eval '! find_box Teiler >/dev/null' || fail "Escape did not close the question"
sleep 0.3
kill -0 "$teiler_pid" 2>/dev/null || fail "\"Abbrechen\" ended teiler"
log "closing the changed board asked; \"Abbrechen\" kept the window"
wmctrl -i -c "$wid"
poll 50 find_box Teiler >/dev/null || fail "closing the changed board again asked nothing"
xdotool key Return # "Speichern", the default
poll 50 find_box "Tafel speichern unter" >/dev/null || fail "\"Speichern\" asked for no file name"
xdotool type --delay 20 -- "$out/stunde1.teiler"
xdotool key Return
expect_exit_zero "saving the board on closing" first
[ -s "$out/stunde1.teiler" ] || fail "\"Speichern\" wrote no board"
log "\"Speichern\" wrote stunde1.teiler and closed"

# A board opened, changed and saved with Ctrl+S is written over its own file.
cp "$out/stunde1.teiler" "$out/stunde1-vorher.teiler"
teiler_args=("$out/stunde1.teiler")
start_teiler second
plain_h=$win_h
title_is "stunde1.teiler – Teiler" || fail "the opened board's title is \"$(xdotool getwindowname "$wid")\""
choose 2 1 2 # "Zahlenstrahl" > "1...500"
poll 50 title_is "stunde1.teiler* – Teiler" || fail "the change shows no mark in the title"
xdotool key ctrl+s
poll 50 title_is "stunde1.teiler – Teiler" || fail "Ctrl+S left the mark in the title"
! cmp -s "$out/stunde1.teiler" "$out/stunde1-vorher.teiler" || fail "Ctrl+S did not rewrite the file"
[ "$(find "$out" -maxdepth 1 -name '*.teiler' | wc -l)" -eq 2 ] || fail "Ctrl+S wrote another file"
log "Ctrl+S rewrote stunde1.teiler in place"

# The whole range as PDF: the last file type of "Bild speichern …", chosen with the keys. Ten A4
# pages in landscape, each with the scale strip, the number line and its caption.
choose 3 2 4 # "Teiler" > "Teileranzahl T(n)"
xdotool key ctrl+e
poll 50 find_box "Bild speichern" >/dev/null || fail "Ctrl+E opened no \"Bild speichern\""
sleep 0.3
xdotool key Tab End shift+Tab ctrl+a # "PDF-Dokument, ganzer Bereich", back to the name
xdotool type --delay 20 -- "$out/ganzer-bereich.pdf"
xdotool key Return
poll 100 test -s "$out/ganzer-bereich.pdf" || fail "no PDF of the whole range was written"
pages=$(pdfinfo "$out/ganzer-bereich.pdf" | awk '/^Pages:/ {print $2}')
[ "$pages" = 10 ] || fail "the whole range's PDF has ${pages:-no} pages instead of 10"
pdftotext -f 2 -l 2 "$out/ganzer-bereich.pdf" "$out/ganzer-bereich-seite2.txt"
grep -q 'Teiler – 1...500 – Teileranzahl T(n) – Seite 2 von 10' "$out/ganzer-bereich-seite2.txt" ||
    fail "page 2 has no caption: $(head -c 300 "$out/ganzer-bereich-seite2.txt")"
pdftoppm -r 50 -png -f 2 -l 2 -singlefile "$out/ganzer-bereich.pdf" "$out/ganzer-bereich-seite2"
page="$out/ganzer-bereich-seite2.png"
[ "$(identify -format '%w' "$page")" -gt "$(identify -format '%h' "$page")" ] ||
    fail "page 2 is not in landscape"
yellow=$(convert "$page" -depth 8 txt:- | grep -c '(255,255,0)' || true)
strip=$(convert "$page" -depth 8 txt:- | grep -c '(224,224,224)' || true)
[ "$yellow" -gt 2000 ] && [ "$strip" -gt 200 ] ||
    fail "page 2 shows $yellow yellow pixels of the number line and $strip of the strip"
log "the whole range as PDF: $pages pages; page 2 with caption, $yellow yellow and $strip strip pixels"
xdotool key ctrl+s
poll 50 title_is "stunde1.teiler – Teiler" || fail "Ctrl+S after the chart left the mark in the title"
choose 1 5 5 # "Datei" > "beenden": saved, so no question
expect_exit_zero '"Datei" > "beenden"' second
teiler_args=()

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
teiler_args=()

# Full screen and back, twenty times, alternately with F11 and Escape: a maximized window comes
# back maximized, at the same place and size, every time.
teiler_args=(--zoom fit)
start_teiler fullscreen
wm_state() { xprop -id "$wid" _NET_WM_STATE; }
is_maximized() { wm_state | grep -q _NET_WM_STATE_MAXIMIZED_VERT && ! wm_state | grep -q FULLSCREEN; }
poll 50 is_maximized || fail "--zoom fit did not start maximized: $(wm_state)"
sleep 0.3
maximized=$(geometry_of "$wid")
for ((cycle = 1; cycle <= 20; cycle++)); do
    xdotool key F11
    poll 50 eval 'wm_state | grep -q _NET_WM_STATE_FULLSCREEN' || fail "cycle $cycle: F11 gave no full screen"
    if ((cycle % 2)); then xdotool key F11; else xdotool key Escape; fi
    poll 50 is_maximized || fail "cycle $cycle: full screen came back as $(wm_state)"
    poll 20 eval '[ "$(geometry_of "$wid")" = "$maximized" ]' ||
        fail "cycle $cycle: back at $(geometry_of "$wid"), was $maximized"
done
log "20 times full screen and back: maximized at $maximized each time"
wmctrl -i -c "$wid"
expect_exit_zero "closing after full screen" fullscreen
teiler_args=()

# Killed after a change: two seconds later the board was kept, and the next start offers it.
[ -z "$(recovery_files)" ] || fail "closed windows left recovery files: $(recovery_files)"
start_teiler crash
choose 3 2 4 # "Teiler" > "Teileranzahl T(n)"
xdotool mousemove --sync $((win_x + 450)) $((win_y + top + 200)) mousedown 3 \
    mousemove --sync $((win_x + 600)) $((win_y + top + 300)) \
    mousemove --sync $((win_x + 700)) $((win_y + top + 220)) mouseup 3
xdotool mousemove --sync $((win_x + 5)) $((win_y + top + 300)) # off the canvas
poll 60 recovery_files >/dev/null || fail "no recovery file two seconds after the change"
sleep 0.5
canvas="$((win_w - 60))x430+20+$((top + 10))"
shot before-kill
kill -9 "$teiler_pid"
wait "$teiler_pid" 2>/dev/null || true
start_teiler restored
poll 50 find_box "Tafel wiederherstellen" >/dev/null || fail "the next start offered no board"
xdotool key Return # "Wiederherstellen", the default
poll 50 eval '! find_box "Tafel wiederherstellen" >/dev/null' || fail "the offer did not close"
sleep 0.5
shot after-restore
differ=$(compare -metric AE "$out/before-kill.png[$canvas]" "$out/after-restore.png[$canvas]" null: 2>&1 || true)
[ "$differ" = 0 ] || fail "the restored canvas differs from the one killed in $differ pixels"
title_is "Unbenannt* – Teiler" || fail "the restored board's title is \"$(xdotool getwindowname "$wid")\""
log "after kill -9 the board came back pixel for pixel"
wmctrl -i -c "$wid"
poll 50 find_box Teiler >/dev/null || fail "closing the restored board asked nothing"
xdotool key alt+v # "Verwerfen"
expect_exit_zero "discarding the restored board" restored
[ -z "$(recovery_files)" ] || fail "discarding left the recovery file $(recovery_files)"

# A named pipe is no board: refused at once, without waiting for a writer.
mkfifo "$out/pipe.teiler"
teiler_args=("$out/pipe.teiler")
start_teiler pipe
poll 10 find_box "Tafel öffnen" >/dev/null || fail "a named pipe as the board was not refused within a second"
xdotool key Return
poll 50 eval '! find_box "Tafel öffnen" >/dev/null' || fail "the refusal did not close"
wmctrl -i -c "$wid"
expect_exit_zero "refusing a named pipe" pipe
log "a named pipe as the board was refused within a second"
log "passed"
