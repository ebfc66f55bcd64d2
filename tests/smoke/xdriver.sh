# shellcheck shell=bash
# SPDX-FileCopyrightText: 2026 die Entwickler von Teiler
# SPDX-License-Identifier: GPL-3.0-or-later
#
# Driving the real Teiler window in a virtual X server, for the smoke test and the screenshot
# script. Source it after setting:
#   out      a directory for screenshots and logs
#   teiler   the teiler executable
#   fail(), log()  how to report
# It starts nothing by itself; start_x and start_teiler record what they start in `started`,
# and stop_started ends exactly those processes.

started=()
# Set by the script that sources this file; named here so that each use is checked.
: "${out:?}"
stop_started() {
    local pid
    for pid in "${started[@]}"; do
        kill "$pid" 2>/dev/null || true
    done
}

# Polls a command for up to $1 tenths of a second.
poll() {
    local tries=$1 i
    shift
    for ((i = 0; i < tries; i++)); do
        "$@" && return 0
        sleep 0.1
    done
    return 1
}

# An X server on a display that Xvfb picks itself, and the openbox window manager.
start_x() {
    rm -f "$out/display"
    Xvfb -displayfd 3 -screen 0 "${1:-1280x1024x24}" -nolisten tcp 3>"$out/display" \
        2>"$out/xvfb.log" &
    started+=($!)
    poll 100 test -s "$out/display" || fail "Xvfb did not start"
    DISPLAY=":$(head -n1 "$out/display")"
    export DISPLAY
    openbox --sm-disable >"$out/openbox.log" 2>&1 &
    started+=($!)
    poll 100 eval 'wmctrl -m >/dev/null 2>&1' || fail "openbox did not start"
    export QT_QPA_PLATFORM=xcb LC_ALL=C.UTF-8
    log "X server on $DISPLAY"
}

# The X server for Teiler under Wine. Wine's processes started without the display, as by a
# command before, would keep the window off it: the prefix's Wine ends first, and again on exit.
stop_started_and_wine() {
    stop_started
    /usr/lib/wine/wineserver64 -k 2>/dev/null || true
}
start_x_for_wine() {
    trap stop_started_and_wine EXIT
    /usr/lib/wine/wineserver64 -k 2>/dev/null || true
    start_x 1280x1024x24
    # Qt on Windows has only its Windows platform plugin.
    unset QT_QPA_PLATFORM
}

# --- The window -----------------------------------------------------------------------------------
win_x=0 win_y=0 win_w=0 win_h=0 wid="" top=0 teiler_pid=""
teiler_args=() # options start_teiler passes to teiler

# The main window: "Teiler", or a board's name before " – Teiler".
find_window() {
    wid=$(xdotool search --onlyvisible --name '^(.+ – )?Teiler$' 2>/dev/null | head -n1)
    [ -n "$wid" ]
}

# A window of teiler's other than the main one, named $1 (a message box or a dialog); its id.
find_box() {
    local w
    for w in $(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null); do
        [ "$w" = "$wid" ] && continue
        echo "$w"
        return 0
    done
    return 1
}

title_is() { [ "$(xdotool getwindowname "$wid" 2>/dev/null)" = "$1" ]; }

# "WxH+X+Y" of a window's inside, from the X server (xdotool misreads reparented windows).
geometry_of() {
    xwininfo -id "$1" | awk '/Absolute upper-left X/ {x = $NF} /Absolute upper-left Y/ {y = $NF}
        /^ *Width:/ {w = $NF} /^ *Height:/ {h = $NF} END {print w "x" h "+" x "+" y}'
}

read_geometry() {
    IFS='x+' read -r win_w win_h win_x win_y < <(geometry_of "$wid")
}

# Screenshot of the window's inside (menu bar and client area) as $out/<name>.png.
shot() {
    import -window root -depth 8 "$out/screen.png"
    convert "$out/screen.png" -crop "${win_w}x${win_h}+${win_x}+${win_y}" +repage "$out/$1.png"
}

# "y r,g,b" for each pixel of column x from y0 to y1 of a picture.
column() {
    convert "$1" -depth 8 -crop "1x$(($4 - $3 + 1))+$2+$3" +repage txt:- |
        awk -F'[(),: ]+' -v y0="$3" 'NR > 1 {print $2 + y0, $3 "," $4 "," $5}'
}

pixel() {
    convert "$1" -depth 8 -crop "1x1+$2+$3" +repage txt:- |
        awk -F'[(),: ]+' 'NR == 2 {print $3 "," $4 "," $5}'
}

lavender="192,192,255"
# Top of the client area below the menu bar: the first lavender row at the window's left edge.
find_top() {
    top=$(column "$out/$1.png" 3 0 80 | awk -v c="$lavender" '$2 == c {print $1; exit}')
    [ -n "$top" ]
}

# Starts teiler and waits for its first picture; $1 names its log.
start_teiler() {
    "${teiler:?}" "${teiler_args[@]}" >"$out/teiler-$1.log" 2>&1 &
    teiler_pid=$!
    started+=("$teiler_pid")
    poll 200 find_window || fail "no window named Teiler appeared"
    read_geometry
    log "window $wid at ${win_x},${win_y}, ${win_w}x${win_h}"
    # The first paint: wait until the lavender background shows below the menu bar.
    poll 100 eval 'shot menu && find_top menu' || fail "the lavender window background never showed"
}

# --- Menus ----------------------------------------------------------------------------------------
# Menu bar entries as "left right" pixel columns of their captions, from left to right.
menu_entries() {
    convert "$1" -depth 8 -crop "${win_w}x$((top - 6))+0+3" +repage txt:- |
        awk -F'[(),: ]+' 'NR > 1 && $3 + $4 + $5 < 360 {dark[$1] = 1}
            END {
                left = -1; last = -100
                for (x = 0; x < 4000; x++) {
                    if (!(x in dark)) continue
                    if (x - last > 9) { if (left >= 0) print left, last; left = x }
                    last = x
                }
                if (left >= 0) print left, last
            }'
}

# The open menu: a visible override-redirect window of teiler's besides the main window.
open_menu() {
    local w
    for w in $(xdotool search --onlyvisible --class '^teiler$' 2>/dev/null); do
        [ "$w" = "$wid" ] && continue
        xwininfo -id "$w" | grep -q 'Override Redirect State: yes' || continue
        geometry_of "$w"
        return 0
    done
    return 1
}

# Screen rows of the captions of the open menu at "WxH+X+Y" ($1), from top to bottom, one per
# entry; separators and the menu's border have no dark pixels and give no row.
menu_rows() {
    local pw ph px py
    IFS='x+' read -r pw ph px py <<<"$1"
    import -window root -depth 8 "$out/screen.png"
    convert "$out/screen.png" -crop "$((pw - 4))x$((ph - 4))+$((px + 2))+$((py + 2))" +repage \
        -depth 8 txt:- |
        awk -F'[(),: ]+' -v y0=$((py + 2)) 'NR > 1 && $3 + $4 + $5 < 360 {dark[$2] = 1}
            END {
                first = -1; last = -100
                for (y = 0; y < 4000; y++) {
                    if (!(y in dark)) continue
                    if (y - last > 3) { if (first >= 0) print y0 + int((first + last) / 2); first = y }
                    last = y
                }
                if (first >= 0) print y0 + int((first + last) / 2)
            }'
}

# Clicks the menu bar entry number $1 (from 1), then entry $2 of the $3 entries of its menu
# (separators not counted). The entry's row is read off the open menu; should the captions not
# give $3 rows, the menu's height is divided evenly.
choose() {
    local entry=$1 item=$2 count=$3 left right popup="" pw ph px py y rows
    read -r left right < <(menu_entries "$out/menu.png" | sed -n "${entry}p")
    [ -n "$left" ] || fail "menu bar entry $entry not found"
    xdotool mousemove --sync $((win_x + (left + right) / 2)) $((win_y + top / 2)) click 1
    poll 50 eval 'popup=$(open_menu)' || fail "menu $entry did not open"
    IFS='x+' read -r pw ph px py <<<"$popup"
    rows=$(menu_rows "$popup")
    y=$((py + ph * (2 * item - 1) / (2 * count)))
    [ "$(wc -l <<<"$rows")" -eq "$count" ] && y=$(sed -n "${item}p" <<<"$rows")
    xdotool mousemove --sync $((px + pw / 2)) "$y" click 1
    poll 50 eval '! open_menu >/dev/null' || fail "menu $entry did not close after the choice"
}

# Clicks at a point of the window's inside.
click_at() {
    xdotool mousemove --sync $((win_x + $1)) $((win_y + $2)) click 1
}
