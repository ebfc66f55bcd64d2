#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 die Entwickler von Teiler
# SPDX-License-Identifier: GPL-3.0-or-later
#
# Random input test of the real window under Xvfb and openbox. For each seed it starts teiler and
# drives it with a sequence of actions drawn from bash's RANDOM seeded with that seed: clicks with
# every mouse button anywhere in the window, double clicks, drags with the left and the right
# button, wheel turns, key presses, odd texts typed into whatever has the focus, odd clipboard and
# primary selection contents (texts, an image, no owner), every menu command except "beenden"
# and "Vollbild" (the file and print dialogs of "Datei" are closed with Escape at once, in a
# scratch home folder), and sum charts that other commands interrupt while they draw. Afterwards
# the window must still answer: 220 typed into the field of the S step and "S" pressed must give
# " 284", and closing the window through the window manager must end teiler with status 0. A crash, a hang, a
# sanitizer report or a complaint of Qt's painter in teiler's output fails the seed.
#   tests/smoke/monkey.sh <teiler executable> <out dir> <actions> <seed>...
# <out dir>/monkey-<seed>.log lists every action with its number; the same seed and count replay
# the same sequence. MONKEY_PAUSE (seconds) waits after each action, to watch a replay;
# MONKEY_BUSY_LIMIT (seconds, 15) is how long teiler may stay busy before the log notes it.
set -euo pipefail

usage="usage: monkey.sh <teiler executable> <out dir> <actions> <seed>..."
[ $# -ge 4 ] || { echo "$usage" >&2; exit 2; }
teiler=$(realpath "$1")
mkdir -p "$2"
out=$(realpath "$2")
actions=$3
shift 3
seeds=("$@")
pause=${MONKEY_PAUSE:-0}

fail() {
    echo "monkey: FAIL: $*" >&2
    echo "monkey: logs are in $out" >&2
    exit 1
}
log() { echo "monkey: $*"; }

# Settings and recovery files of these runs only.
export XDG_DATA_HOME=$out/data XDG_CONFIG_HOME=$out/config
rm -rf "$XDG_DATA_HOME" "$XDG_CONFIG_HOME"
source "$(dirname "$0")/xdriver.sh"
trap 'drop_owner clipboard; drop_owner primary; stop_started' EXIT

# --- Random draws ---------------------------------------------------------------------------------
# Every draw happens in this shell, never in a subshell, and no draw depends on what the window
# did, so that a seed always gives the same sequence.
rnd() { r=$(((RANDOM << 15 | RANDOM) % $1)); }

# Sets $choice to one of the words "name:weight" of $1, with the odds of the weights.
weighted() {
    local item total=0
    for item in $1; do total=$((total + ${item#*:})); done
    rnd "$total"
    for item in $1; do
        r=$((r - ${item#*:}))
        if ((r < 0)); then
            choice=${item%%:*}
            return
        fi
    done
}

# --- Where to act ---------------------------------------------------------------------------------
# Areas of the window in pixels at 96 dpi below the menu bar: left, top, width, height, and how
# often a click goes there. From the layout table: 15 twips are one pixel.
areas="canvas:405:22:380:280:14 canvas_low:41:306:744:194:10 strip:41:500:744:45:14
    scale:16:20:24:525:2 sheet:41:20:359:44:8 sheet_bar:41:64:359:13:3 hitlist:44:80:357:225:12
    hbar:16:548:770:20:4 text2:36:588:33:29:3 text0:156:588:41:29:3 text1:256:588:57:29:3
    iter:396:588:117:29:5 help:540:584:201:35:2 suche:72:588:49:29:4 sbutton:344:588:37:29:4
    plus2:24:588:17:13:1 minus2:24:604:17:13:1 plus0:144:588:17:13:1 minus0:144:604:17:13:1
    plus1:244:588:17:13:1 minus1:244:604:17:13:1 panel:16:568:737:65:2 anywhere:0:0:0:0:3"
declare -A area=()
area_odds=""
for a in $areas; do
    IFS=: read -r name ax ay aw ah odds <<<"$a"
    area[$name]="$ax $ay $aw $ah"
    area_odds+=" $name:$odds"
done
text_boxes="iter:5 text0:2 text1:2 text2:2 hitlist:3 help:1"

# Sets $choice to an area (one of $1, or any by the odds above) and px, py to a point in it.
point() {
    local ax ay aw ah
    if [ -n "${1:-}" ]; then weighted "$1"; else weighted "$area_odds"; fi
    if [ "$choice" = anywhere ]; then
        ax=0 ay=0 aw=$win_w ah=$((win_h - top))
    else
        read -r ax ay aw ah <<<"${area[$choice]}"
    fi
    rnd "$aw"
    px=$((win_x + ax + r))
    rnd "$ah"
    py=$((win_y + top + ay + r))
}

centre_of() {
    local ax ay aw ah
    read -r ax ay aw ah <<<"${area[$1]}"
    px=$((win_x + ax + aw / 2)) py=$((win_y + top + ay + ah / 2))
}

# --- Odd texts for typing and for the selections --------------------------------------------------
texts=("" "-0" "1e400" "nan" "inf" "-inf" "NaN" "$(printf '1234567890%.0s' {1..500})"
    "٢٢٠" "２２０" "𝟐𝟐𝟎" $'\t220\n' $'220\n284' " 284" " 2 2 0 " "12.5" "-1" "999999999999989"
    "999999999999999" "1000000000000000" "2147483648" "-2147483649" "1e15" "1e-400" "4.9e-324"
    "1,5" "e" "." "-" "+" "0x1A" "Trefferliste" "ä€ß" "220")
texts_dir="$out/texts"
mkdir -p "$texts_dir"
for i in "${!texts[@]}"; do printf '%s' "${texts[$i]}" >"$texts_dir/$i.txt"; done
convert -size 96x64 gradient:yellow-blue "$texts_dir/picture.png"
# Shown in the log without line breaks and cut short.
shown() {
    local s=${1//$'\n'/\\n}
    s=${s//$'\t'/\\t}
    [ ${#s} -gt 40 ] && s="${s:0:20}... (${#1} characters)"
    printf '"%s"' "$s"
}

# --- Selections -----------------------------------------------------------------------------------
# xclip keeps running as the owner of a selection until another client takes it over.
declare -A owner=()
drop_owner() {
    local pid=${owner[$1]:-}
    [ -n "$pid" ] || return 0
    if child_alive "$pid" xclip; then kill "$pid" 2>/dev/null || true; fi
    owner[$1]=""
}
own_selection() { # selection file [target]
    drop_owner "$1"
    xclip -quiet -selection "$1" ${3:+-t "$3"} -i "$2" >/dev/null 2>&1 &
    owner[$1]=$!
    disown "$!" # its end is of no interest
}
# No owner at all: take the selection over, then end the process that holds it.
disown_selection() {
    own_selection "$1" /dev/null
    sleep 0.05
    drop_owner "$1"
}

# --- Windows besides the main window --------------------------------------------------------------
wait_for() { # tenths of a second, command
    local deadline=$((${EPOCHREALTIME/[.,]/} + $1 * 100000))
    shift
    until "$@"; do
        ((${EPOCHREALTIME/[.,]/} < deadline)) || return 1
        sleep 0.02
    done
}
others() {
    local w
    for w in $(xdotool search --onlyvisible --class '^teiler$' 2>/dev/null); do
        [ "$w" = "$wid" ] || echo "$w"
    done
}
none_open() { [ -z "$(others)" ]; }
# True while process $1 runs, is named $2 and is a child of this shell: process numbers come
# round again quickly here, and the number of a process that has ended may be another's by now.
child_alive() {
    local stat
    read -r stat 2>/dev/null <"/proc/$1/stat" || return 1
    [[ "$stat" == "$1 ($2) "* ]] || return 1
    set -- ${stat##*) }
    [ "$1" != Z ] && [ "$2" = "$$" ]
}
alive() { child_alive "$teiler_pid" teiler; }

# Waits until teiler has used no processor time for a moment, that is until it has handled every
# event sent so far; at most $1 tenths of a second.
cpu_ticks() {
    local stat
    read -r stat 2>/dev/null <"/proc/$teiler_pid/stat" || return 1
    stat=${stat##*) }
    set -- $stat
    ticks=$((${12} + ${13}))
}
settle() {
    local deadline=$((${EPOCHREALTIME/[.,]/} + $1 * 100000)) ticks=0 last=-1 calm=0
    while alive && cpu_ticks; do
        if [ "$ticks" = "$last" ]; then
            calm=$((calm + 1))
            [ "$calm" -ge 2 ] && return 0
        else
            calm=0
        fi
        last=$ticks
        ((${EPOCHREALTIME/[.,]/} < deadline)) || return 1
        sleep 0.03
    done
    return 0 # gone: nothing to wait for
}

busy_limit=${MONKEY_BUSY_LIMIT:-15}
calm_down() {
    settle $((busy_limit * 10)) || note "teiler still busy after $busy_limit s"
}

notes=()
note() {
    notes+=("action $index: $*")
    echo "    note: $*" >>"$actlog"
}

# Menus, dialogs and other windows left open are closed with Escape, as a person would.
close_others() {
    local tries w
    for ((tries = 0; tries < 4; tries++)); do
        w=$(others | head -n1)
        [ -n "$w" ] || return 0
        echo "    Escape for the open window $w \"$(xdotool getwindowname "$w" 2>/dev/null)\"" \
            >>"$actlog"
        if ! xwininfo -id "$w" 2>/dev/null | grep -q 'Override Redirect State: yes'; then
            xdotool windowactivate "$w" 2>/dev/null || true
        fi
        xdotool key --delay 0 Escape
        wait_for 10 none_open && return 0
    done
    note "windows $(others | tr '\n' ' ')stay open after Escape"
    return 1
}

# --- The menu -------------------------------------------------------------------------------------
# Menu bar entries from the first screenshot; entries of the three submenus from screenshots of
# the open menus: bar_x[m], pop_geometry[m], pop_rows[m] (screen rows of the entries).
declare -a bar_x=() pop_geometry=() pop_rows=()
bar_y=0
learn_menu() {
    local m left right popup rows
    bar_x=()
    while read -r left right; do bar_x+=($((win_x + (left + right) / 2))); done \
        < <(menu_entries "$out/menu.png")
    [ ${#bar_x[@]} -eq 6 ] || fail "menu bar shows ${#bar_x[@]} entries instead of 6"
    bar_y=$((win_y + top / 2))
    for m in 0 1 2 5; do
        xdotool mousemove --sync "${bar_x[$m]}" "$bar_y" click --delay 0 1
        popup=""
        wait_for 50 eval 'popup=$(open_menu)' || fail "menu $((m + 1)) did not open"
        sleep 0.2 # the menu's first paint
        rows=$(menu_rows "$popup" 2>/dev/null | tr '\n' ' ')
        pop_geometry[m]=$popup
        pop_rows[m]=$rows
        xdotool key --delay 0 Escape
        wait_for 20 none_open || fail "menu $((m + 1)) did not close with Escape"
    done
    set -- ${pop_rows[0]}
    [ $# -ge 2 ] || fail "menu Datei shows $# entries"
    set -- ${pop_rows[1]}
    [ $# -eq 2 ] || fail "menu Zahlenstrahl shows $# entries instead of 2"
    set -- ${pop_rows[2]}
    [ $# -eq 4 ] || fail "menu Teiler shows $# entries instead of 4"
    set -- ${pop_rows[5]}
    # "Verkleinern", "Originalgröße", "Rückgängig" and "Wiederholen" are greyed out at start-up
    # and give no row.
    [ $# -eq 10 ] || fail "menu Tafel shows $# entries instead of 10"
}

# Which entries of "Datei" open a dialog ("Bild speichern …", "Drucken …"): each is chosen once
# at the start; a window that shows up is closed with Escape at once. Done for every seed, so that
# each seed starts from the same state whether it runs first or not.
declare -A opens_dialog=()
learn_dialogs() {
    local e
    opens_dialog=()
    for ((e = 1; e < $(entries_of 0); e++)); do
        menu=0 entry=$e
        choose_entry
        calm_down
        if wait_for 10 eval '! none_open'; then
            opens_dialog[$e]=1
            close_others || fail "the dialog of entry $e of Datei did not close with Escape"
        else
            opens_dialog[$e]=""
        fi
    done
}
entries_of() {
    set -- ${pop_rows[$1]}
    echo $#
}
row_of() { # menu entry
    local rows
    read -r -a rows <<<"${pop_rows[$1]}"
    echo "${rows[$2 - 1]}"
}
menu_names=(Datei Zahlenstrahl Teiler "Trefferliste ein/aus" Info Tafel)

# Draws a menu command: sets menu (0 to 5) and entry (from 1; 0 for the two on the menu bar).
# "beenden", the last entry of "Datei", is never drawn, nor "Tafel" > "Vollbild": the monkey
# clicks at the places it learned from the window's geometry, which full screen moves. The
# history of the canvas is walked with its keys (Ctrl+Z, Ctrl+Y, Ctrl+Shift+Z), and the board's
# file dialogs ("Tafel speichern …", "Tafel öffnen …") are left to the tests.
draw_menu() {
    weighted "${1:-datei:12 strahl:20 teiler:40 treffer:14 info:14 tafel:10}"
    rnd 1000
    case $choice in
    datei) menu=0 entry=$((r % ($(entries_of 0) - 1) + 1)) ;;
    strahl) menu=1 entry=$((r % 2 + 1)) ;;
    teiler) menu=2 entry=$((r % 4 + 1)) ;;
    treffer) menu=3 entry=0 ;;
    info) menu=4 entry=0 ;;
    tafel) menu=5 entry=$((r % 2 * 3 + 2)) ;; # "Stift: …" or "Farben …" (the submenu "Stift" between)
    esac
}

# xdotool commands that choose a menu entry blindly, at the places the open menus had.
menu_chain() {
    chain+=(mousemove "${bar_x[$menu]}" "$bar_y" click --delay 0 1)
    if [ "$entry" -gt 0 ]; then
        local pw ph pxx pyy
        IFS='x+' read -r pw ph pxx pyy <<<"${pop_geometry[$menu]}"
        chain+=(sleep 0.1 mousemove $((pxx + pw / 2)) "$(row_of "$menu" "$entry")"
            click --delay 0 1)
    fi
}

# Chooses a menu entry and waits for the menu to open and to close again. Qt now and then closes
# a menu at once, or misses the click on an entry, when the click comes right after a change of
# the keyboard map (xdotool makes one for each character outside the map). So when teiler has
# nothing left to do and the menu is still closed, or still open, the click is made again, as a
# person would.
choose_entry() {
    local popup="" pw ph pxx pyy qw qx qy tries
    close_others || true
    xdotool mousemove "${bar_x[$menu]}" "$bar_y" click --delay 0 1
    [ "$entry" -gt 0 ] || return 0
    for tries in 1 2 3; do
        wait_for 10 eval 'popup=$(open_menu)' && break
        calm_down
        wait_for 3 eval 'popup=$(open_menu)' && break
        if [ "$tries" = 3 ]; then
            note "menu ${menu_names[$menu]} did not open after three clicks"
            return 0
        fi
        echo "    menu ${menu_names[$menu]} did not open, clicked again" >>"$actlog"
        xdotool mousemove "${bar_x[$menu]}" "$bar_y" click --delay 0 1
    done
    IFS='x+' read -r pw ph pxx pyy <<<"${pop_geometry[$menu]}"
    IFS='x+' read -r qw _ qx qy <<<"$popup"
    for tries in 1 2 3; do
        xdotool mousemove $((qx + qw / 2)) $(($(row_of "$menu" "$entry") - pyy + qy)) \
            click --delay 0 1
        wait_for 10 eval '! open_menu >/dev/null' && break
        calm_down
        open_menu >/dev/null || break
        if [ "$tries" = 3 ]; then
            note "menu ${menu_names[$menu]} stayed open after three clicks on entry $entry"
            close_others || true
            return 0
        fi
        echo "    menu ${menu_names[$menu]} still open, entry clicked again" >>"$actlog"
    done
    # A file or print dialog would take every key that follows, and Return could write a file
    # or print: it is closed right away.
    if [ "$menu" = 0 ] && [ -n "${opens_dialog[$entry]:-}" ]; then
        wait_for 50 eval '! none_open' || note "entry $entry of Datei opened no dialog"
        close_others || true
    fi
}

info_window() {
    local w
    w=$(xdotool search --onlyvisible --name '^Programmiert von$' 2>/dev/null | head -n1)
    [ -n "$w" ] && echo "$w"
}

# "Info": waits for the box "Programmiert von" and closes it the way $1 says.
info_box() {
    local box="" bw bh bx by
    if ! wait_for 10 eval 'box=$(info_window)'; then
        calm_down
        if ! wait_for 3 eval 'box=$(info_window)'; then
            echo "    no Info box, clicked again" >>"$actlog"
            xdotool mousemove "${bar_x[4]}" "$bar_y" click --delay 0 1
            if ! wait_for 50 eval 'box=$(info_window)'; then
                note "the Info box did not appear after two clicks"
                return 0
            fi
        fi
    fi
    case $1 in
    Return | Escape) xdotool key --delay 0 "$1" ;;
    OK)
        # The only button, at the bottom right of the box.
        IFS='x+' read -r bw bh bx by < <(geometry_of "$box")
        xdotool mousemove $((bx + bw - 52)) $((by + bh - 24)) click --delay 0 1
        ;;
    esac
    wait_for 30 eval '! info_window >/dev/null' ||
        note "the Info box stayed open after $1"
}

# --- Actions --------------------------------------------------------------------------------------
keys=(0 1 2 3 4 5 6 7 8 9 minus period comma e E plus space Tab ISO_Left_Tab Return KP_Enter
    BackSpace Delete Left Right Up Down Prior Next Home End shift+Home shift+End ctrl+a ctrl+c
    ctrl+v ctrl+x ctrl+z ctrl+shift+z ctrl+y shift+Insert Escape Menu ctrl+d)
letters=abcdefghijklmnopqrstuvwxyzS

draw_key() {
    rnd $((${#keys[@]} + 6))
    if [ "$r" -lt ${#keys[@]} ]; then
        key=${keys[$r]}
    else
        rnd ${#letters}
        key=${letters:$r:1}
    fi
}

# A drag: press at a point, two to five moves, release at the last one.
drag_chain() { # button [areas]
    local moves i
    point "${2:-}"
    chain+=(mousemove "$px" "$py" mousedown "$1")
    rnd 4
    moves=$((r + 2))
    for ((i = 0; i < moves; i++)); do
        point
        chain+=(mousemove "$px" "$py")
    done
    chain+=(mouseup "$1")
}

# One step of a sum chart that other commands interrupt: all events go to the X server at once,
# so that they arrive while the chart yields between its columns.
burst_fragment() {
    weighted "click:35 drag:15 key:20 wheel:10 menu:20"
    case $choice in
    click)
        point "canvas:3 canvas_low:2 strip:4 sbutton:1 suche:1 iter:1 hitlist:1 sheet:1 hbar:1"
        weighted "1:4 2:1 3:2"
        chain+=(mousemove "$px" "$py" click --delay 0 "$choice")
        ;;
    drag) drag_chain 3 "canvas:1 canvas_low:1 strip:1" ;;
    key)
        draw_key
        chain+=(key --delay 0 "$key")
        ;;
    wheel)
        point "canvas:1 strip:1 hbar:1 hitlist:1"
        weighted "4:2 5:2 6:1 7:1"
        chain+=(mousemove "$px" "$py" click --delay 0 --repeat 3 "$choice")
        ;;
    menu)
        # Not "Datei": its last entry is "beenden", and a click of a later step could reach it.
        draw_menu "strahl:3 teiler:5 treffer:2 info:1"
        menu_chain
        ;;
    esac
}

# The log line of an action: its number, the seconds since the seed's start, what it does.
say() {
    local now=${EPOCHREALTIME/[.,]/}
    printf '#%04d %7.3f %s\n' "$index" "$(((now - seed_clock) / 1000))e-3" "$what" >>"$actlog"
}

# Draws the next action, writes it to the log with its number and runs it.
act() {
    local button count i chain=() how
    weighted "click:320 double:40 drag:60 wheel:60 move:40 key:230 type:80 select:60 menu:90
        burst:20"
    case $choice in
    click)
        point
        local where=$choice
        weighted "1:65 2:15 3:20"
        button=$choice
        what="click $button $where $px,$py"
        say
        xdotool mousemove "$px" "$py" click --delay 0 "$button"
        ;;
    double)
        point
        local where=$choice
        weighted "1:85 3:15"
        what="double click $choice $where $px,$py"
        say
        xdotool mousemove "$px" "$py" click --delay 0 --repeat 2 "$choice"
        ;;
    drag)
        weighted "1:1 3:1"
        button=$choice
        drag_chain "$button"
        what="drag $button ${chain[*]}"
        say
        xdotool "${chain[@]}"
        ;;
    wheel)
        point
        local where=$choice
        weighted "4:3 5:3 6:1 7:1"
        button=$choice
        rnd 6
        count=$((r + 1))
        what="wheel $button x$count $where $px,$py"
        say
        xdotool mousemove "$px" "$py" click --delay 0 --repeat "$count" "$button"
        ;;
    move)
        point
        what="move $choice $px,$py"
        say
        xdotool mousemove "$px" "$py"
        ;;
    key)
        draw_key
        what="key $key"
        say
        xdotool key --delay 0 "$key"
        ;;
    type)
        local text
        rnd 10
        if [ "$r" -lt 6 ]; then
            rnd ${#texts[@]}
            text=${texts[$r]}
        else
            rnd 100000
            text=$((r - 200))
        fi
        rnd 3
        if [ "$r" -gt 0 ]; then
            point "$text_boxes"
            chain+=(mousemove "$px" "$py" click --delay 0 1 key --delay 0 ctrl+a)
            what="type $(shown "$text") into $choice $px,$py"
        else
            what="type $(shown "$text") at the focus"
        fi
        say
        # xdotool maps characters outside the keyboard map for a moment; the program needs to
        # read that map before it changes back, so those go slower.
        if LC_ALL=C.UTF-8 grep -qP '[^\x00-\x7f]' <<<"$text"; then
            chain+=(type --delay 12 -- "$text")
        else
            chain+=(type --delay 0 -- "$text")
        fi
        xdotool "${chain[@]}"
        ;;
    select)
        local selection
        weighted "clipboard:3 primary:2"
        selection=$choice
        weighted "text:7 picture:2 none:2"
        rnd ${#texts[@]}
        case $choice in
        text)
            what="$selection = $(shown "${texts[$r]}")"
            say
            own_selection "$selection" "$texts_dir/$r.txt"
            ;;
        picture)
            what="$selection = picture"
            say
            own_selection "$selection" "$texts_dir/picture.png" image/png
            ;;
        none)
            what="$selection without owner"
            say
            disown_selection "$selection"
            ;;
        esac
        ;;
    menu)
        draw_menu
        weighted "Return:1 Escape:1 OK:1"
        how=$choice
        what="menu ${menu_names[$menu]}"
        if [ "$entry" -gt 0 ]; then what+=" entry $entry"; fi
        if [ "$menu" -eq 4 ]; then what+=", closed with $how"; fi
        say
        choose_entry
        if [ "$menu" -eq 4 ]; then info_box "$how"; fi
        ;;
    burst)
        weighted "3:1 4:1"
        menu=2 entry=$choice
        menu_chain
        rnd 5
        count=$((r + 2))
        for ((i = 0; i < count; i++)); do burst_fragment; done
        what="sum chart $entry interrupted: ${chain[*]}"
        say
        close_others || true
        xdotool "${chain[@]}"
        calm_down
        close_others || true
        ;;
    esac
}

# --- Checks ---------------------------------------------------------------------------------------
failures=()
seed_failed() {
    failures+=("seed $seed: $*")
    echo "FAIL: $*" >>"$actlog"
    log "seed $seed: FAIL: $*"
}

# 220 in the field of the S step, "S" pressed: the field must read " 284".
still_answers() {
    local got="" ix iy sx sy i
    calm_down
    close_others || true
    drop_owner primary
    printf 'no answer' >"$texts_dir/marker.txt"
    own_selection clipboard "$texts_dir/marker.txt"
    read_geometry
    centre_of iter
    ix=$px iy=$py
    centre_of sbutton
    sx=$px sy=$py
    # At xdotool's usual pace: with no delay at all Qt sometimes takes ctrl+a for a plain "a".
    # Now and then it still does after a thousand actions, so the field is read back and the
    # entry made again, up to three times, before "S" is pressed.
    for ((i = 0; i < 3; i++)); do
        xdotool mousemove "$ix" "$iy" click 1 key ctrl+a type 220
        calm_down
        xdotool mousemove "$ix" "$iy" click 1 key ctrl+a ctrl+c
        calm_down
        [ "$(timeout 2 xclip -o -selection clipboard 2>/dev/null || true)" = "220" ] && break
        echo "    the field of the S step did not read 220, entered again" >>"$actlog"
    done
    xdotool mousemove "$sx" "$sy" click 1
    calm_down
    xdotool mousemove "$ix" "$iy" click 1 key ctrl+a ctrl+c
    for ((i = 0; i < 300; i++)); do
        got=$(timeout 2 xclip -o -selection clipboard 2>/dev/null || true)
        [ "$got" = " 284" ] && return 0
        alive || break
        sleep 0.1
    done
    local primary
    primary=$(timeout 2 xclip -o -selection primary 2>/dev/null || true)
    seed_failed "after 220 and \"S\" the clipboard holds $(shown "$got") instead of \" 284\"" \
        "(the primary selection holds $(shown "$primary"))"
    return 1
}

closes_with_zero() {
    local status=0 i
    wmctrl -i -c "$wid"
    for ((i = 0; i < 300; i++)); do
        alive || break
        # A changed board asks before it goes: "Verwerfen".
        if find_box Teiler >/dev/null; then xdotool key --delay 0 alt+v; fi
        sleep 0.1
    done
    if alive; then
        seed_failed "teiler did not exit within 30 s after the window manager closed the window"
        end_hung_teiler
    fi
    wait "$teiler_pid" || status=$?
    [ "$status" -eq 0 ] || seed_failed "teiler exited with status $status after the close"
}

# A screenshot and, with gdb at hand, the stacks of every thread; then the process is ended.
end_hung_teiler() {
    shot "hung-$seed" || true
    if command -v gdb >/dev/null && alive; then
        timeout 60 gdb -p "$teiler_pid" -batch -ex "thread apply all bt" \
            >"$out/hung-$seed.txt" 2>&1 || true
        log "seed $seed: the stacks of teiler's threads are in $out/hung-$seed.txt"
    fi
    if alive; then kill -9 "$teiler_pid"; fi
}

reports() {
    local complaints='ERROR: (Address|Leak)Sanitizer|runtime error:|SUMMARY: '
    complaints+='|QPainter|Recursive repaint|QWidget::repaint'
    if grep -qE "$complaints" "$out/teiler-$seed.log"; then
        grep -E -m5 "$complaints" "$out/teiler-$seed.log" >&2
        seed_failed "teiler's output has a sanitizer report or a painter complaint"
    fi
}

# --- Run ------------------------------------------------------------------------------------------
# Teiler's file dialog opens in the home folder and teiler's working folder is the current one:
# both are scratch folders, so that nothing the monkey might save lands anywhere else.
export HOME="$out/home"
mkdir -p "$HOME"
cd "$HOME"
start_x 1280x1024x24
total_start=$SECONDS
for seed in "${seeds[@]}"; do
    [[ "$seed" =~ ^[0-9]+$ ]] || fail "seed '$seed' is not a number"
    seed_start=$SECONDS
    actlog="$out/monkey-$seed.log"
    index=0
    notes=()
    echo "seed $seed, $actions actions, $teiler" >"$actlog"
    log "seed $seed: $actions actions (replay: tests/smoke/monkey.sh $teiler $out $actions $seed)"
    start_teiler "$seed"
    learn_menu
    for m in 0 1 2 5; do
        echo "menu ${menu_names[$m]}: ${pop_geometry[$m]}, entries at rows ${pop_rows[$m]}" \
            >>"$actlog"
    done
    learn_dialogs
    dialogs=""
    for e in "${!opens_dialog[@]}"; do [ -z "${opens_dialog[$e]}" ] || dialogs+=" $e"; done
    echo "entries of Datei that open a dialog:${dialogs:- none}" >>"$actlog"
    RANDOM=$seed
    seed_clock=${EPOCHREALTIME/[.,]/}
    died=""
    for ((index = 1; index <= actions; index++)); do
        act
        if ! alive; then
            died=$index
            break
        fi
        [ "$pause" = 0 ] || sleep "$pause"
        # Now and then wait for teiler to catch up, so that the log shows about where a fault
        # begins; close what stays open.
        if ((index % 20 == 0)); then calm_down; fi
        if ((index % 5 == 0)); then close_others || true; fi
    done
    if [ -n "$died" ]; then
        status=0
        wait "$teiler_pid" || status=$?
        seed_failed "teiler died with status $status at action $died or shortly before it"
        tail -n 6 "$actlog" | sed 's/^/    /' >&2
    elif still_answers; then
        closes_with_zero
    else
        end_hung_teiler
        wait "$teiler_pid" 2>/dev/null || true
    fi
    # Its process number is free again: stop_started must not end whatever gets it next.
    for i in "${!started[@]}"; do
        if [ "${started[$i]}" = "$teiler_pid" ]; then unset 'started[i]'; fi
    done
    drop_owner clipboard
    drop_owner primary
    reports
    for n in "${notes[@]}"; do log "seed $seed: note: $n"; done
    log "seed $seed: $((index > actions ? actions : index)) actions in $((SECONDS - seed_start)) s"
done
log "${#seeds[@]} seeds in $((SECONDS - total_start)) s"
if [ ${#failures[@]} -gt 0 ]; then
    printf 'monkey: FAIL: %s\n' "${failures[@]}" >&2
    echo "monkey: action logs and teiler's output are in $out" >&2
    exit 1
fi
log "passed"
