#!/usr/bin/env bash
# The real program as its user meets it on X, main() and all, its window the
# menu entry's. A probe loaded into it reports the font, Qt's own texts and
# the menu entry it names for Wayland. It prints through the keyboard (Alt,
# then Enter) on a session bus of its own where a global menu registrar runs
# (as under KDE Plasma or an appmenu panel), with stand-ins for the desktop:
# a launcher, which must be handed Sample.txt; a Mousepad as the desktop's
# editor, which must be told the encoding; one that refuses it, where the
# launcher then finds nothing to open the file with (xdg-open's 3); a desktop
# that never answers, which must not hold the program for ever; and no
# launcher at all. Where nothing opens it a box must say where the report is
# before the program ends. Each time the report is appended to Sample.txt
# beside the program and the program ends, at once where the launcher has
# answered at once. Then, installed as the package lays it out and run by
# root, whose folder that is not, it prints to Sample.txt in the documents
# folder.
#   bash tests/window/real_program.sh PROGRAM PROBE BUILD_FOLDER
set -euo pipefail
tmp=$(mktemp -d) lines=0
trap 'kill $(jobs -p) 2>/dev/null; rm -rf "$tmp"' EXIT
cp "$1" "$tmp/zulcalc" # it writes beside itself
cmake --install "$3" --prefix "$tmp/usr" >/dev/null
mkfifo "$tmp/display" "$tmp/bus"
stand_in() { # FOLDER NAME SCRIPT: a program of the desktop, alone in its folder of PATH
    mkdir -p "$tmp/$1" && printf '#!/bin/sh\n%s\n' "$3" >"$tmp/$1/$2" && chmod +x "$tmp/$1/$2"
}
stand_in launcher xdg-open "echo \"\$1\" >>$tmp/opened"
for folder in told refused; do stand_in $folder xdg-mime 'echo org.xfce.mousepad.desktop'; done
stand_in told mousepad "echo \"\$@\" >$tmp/editor"
stand_in refused mousepad 'exit 1'
stand_in refused xdg-open "echo \"\$1\" >>$tmp/opened; exit 3"
for program in xdg-mime xdg-open; do stand_in slow $program "exec $(command -v sleep) 60"; done
# Each says where it listens once it does. No reset when the last client
# leaves: one connecting then would be cut off.
Xvfb -displayfd 3 -nolisten tcp -noreset 3>"$tmp/display" 2>/dev/null &
dbus-daemon --session --nofork --print-address=3 3>"$tmp/bus" 2>/dev/null &
read -r display <"$tmp/display" && read -r bus <"$tmp/bus"
# In C, Qt cannot write the Cyrillic titles into the X names xdotool searches.
export DISPLAY=:$display DBUS_SESSION_BUS_ADDRESS=$bus QT_QPA_PLATFORM=xcb LC_ALL=C.UTF-8
# Activation returns once the registrar holds its name.
dbus-send --print-reply --dest=com.canonical.AppMenu.Registrar /com/canonical/AppMenu/Registrar \
    org.freedesktop.DBus.Peer.Ping >/dev/null

fail() { echo "$*" && exit 1; }
keys() { # typed into the window titled $1, which is the menu entry's: its WM_CLASS's class is the entry's name
    id=$(timeout 30 xdotool search --sync --onlyvisible --name "$1" | head -n 1) && xdotool windowfocus --sync "$id" || fail "no window $1"
    xprop -id "$id" WM_CLASS | grep -qxF 'WM_CLASS(STRING) = "zulcalc", "org.example.zulcalc"' || fail "$1: $(xprop -id "$id" WM_CLASS)"
    xdotool key "${@:2}"
}
for launcher in launcher told refused slow nothing installed; do
    program=$tmp/zulcalc report=$tmp/Sample.txt
    [ $launcher = installed ] && program=$tmp/usr/bin/zulcalc report=$tmp/home/Documents/Sample.txt lines=0
    timeout 30 env PATH="$tmp/$launcher" HOME="$tmp/home" LD_PRELOAD="$2" "$program" >"$tmp/said" 2>/dev/null &
    keys '^Расчет ЗУЛ$' alt Return
    printed=$SECONDS
    case $launcher in refused | nothing | installed) keys '^Отчет записан$' Return ;; esac
    wait $! || fail "$launcher: the program did not end, or not well"
    [ $launcher != launcher ] || ((SECONDS - printed < 5)) || fail "it waited on after the launcher answered"
    # Its 23 lines, after those of the run before.
    [ "$(grep -sc $'\r$' "$report")" = $((lines += 23)) ] || fail "$launcher: no report written to $report"
done
[ "$(cat "$tmp/said")" = "DejaVu Sans Condensed|Показать подробности...|org.example.zulcalc" ] || fail "the probe saw: $(cat "$tmp/said")"
[ "$(cat "$tmp/opened")" = "$tmp/Sample.txt"$'\n'"$tmp/Sample.txt" ] ||
    fail "the launcher was not handed Sample.txt, or not after the editor refused: $(cat "$tmp/opened")"
[ "$(cat "$tmp/editor")" = "--encoding=WINDOWS-1251 $tmp/Sample.txt" ] || fail "Mousepad was not told the encoding"
