#!/usr/bin/env bash
# The real program as its user meets it on X, main() and all, its window the
# menu entry's. A probe loaded into it reports the font, Qt's own texts and
# the menu entry it names for Wayland. It prints
# through the keyboard (Alt, then Enter) on a session bus of its own where a
# global menu registrar runs (as under KDE Plasma or an appmenu panel): once
# with a stand-in for the desktop's launcher, which must be handed
# Sample.txt, and once with no launcher at all, where a box must say where
# the report is before the program ends. Each time the report is appended
# to Sample.txt beside the program and the program ends.
#   bash tests/window/real_program.sh PROGRAM PROBE
set -euo pipefail
tmp=$(mktemp -d) lines=0
trap 'kill $(jobs -p) 2>/dev/null; rm -rf "$tmp"' EXIT
cp "$1" "$tmp/zulcalc" # it writes beside itself
mkdir "$tmp/launcher" && mkfifo "$tmp/display" "$tmp/bus"
printf '#!/bin/sh\necho "$1" >%s/opened\n' "$tmp" >"$tmp/launcher/xdg-open" && chmod +x "$tmp/launcher/xdg-open"
# Each says where it listens once it does.
Xvfb -displayfd 3 -nolisten tcp 3>"$tmp/display" 2>/dev/null &
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
for launcher in launcher nothing; do
    timeout 30 env PATH="$tmp/$launcher" LD_PRELOAD="$2" "$tmp/zulcalc" >"$tmp/said" 2>/dev/null &
    keys '^Расчет ЗУЛ$' alt Return
    [ $launcher = launcher ] || keys '^Отчет записан$' Return
    wait $! || fail "$launcher: the program did not end, or not well"
    # Its 23 lines, after those of the run before.
    [ "$(grep -c $'\r$' "$tmp/Sample.txt")" = $((lines += 23)) ] || fail "$launcher: no report written"
done
[ "$(cat "$tmp/said")" = "DejaVu Sans Condensed|Показать подробности...|org.example.zulcalc" ] || fail "the probe saw: $(cat "$tmp/said")"
timeout 30 sh -c "until [ -s '$tmp/opened' ]; do sleep 0.1; done" &&
    [ "$(cat "$tmp/opened")" = "file://$tmp/Sample.txt" ] || fail "the launcher was not handed Sample.txt"
