#!/usr/bin/env bash
# The real program as its user meets it on X, main() and all. A probe loaded
# into it reports the font, Qt's own texts and the title shown. It prints
# through the keyboard (Alt, then Enter) on a session bus of its own where a
# global menu registrar runs (as under KDE Plasma or an appmenu panel): once
# with a stand-in for the desktop's launcher, which must be handed
# Sample.txt, and once with no launcher at all, where a box must say where
# the report is before the program ends. Each time the report is appended
# to Sample.txt beside the program and the program ends. Then, installed as
# the package lays it out and run by root, whose folder that is not, it
# prints to Sample.txt in the documents folder.
#   bash tests/window/real_program.sh PROGRAM PROBE BUILD_FOLDER
set -euo pipefail
tmp=$(mktemp -d) lines=0
trap 'kill $(jobs -p) 2>/dev/null; rm -rf "$tmp"' EXIT
cp "$1" "$tmp/zulcalc" # it writes beside itself
cmake --install "$3" --prefix "$tmp/usr" >/dev/null
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
keys() { # typed into the window titled $1
    timeout 30 xdotool search --sync --onlyvisible --name "$1" windowfocus --sync || fail "no window $1"
    xdotool key "${@:2}"
}
for launcher in launcher nothing installed; do
    program=$tmp/zulcalc report=$tmp/Sample.txt
    [ $launcher = installed ] && program=$tmp/usr/bin/zulcalc report=$tmp/home/Documents/Sample.txt lines=0
    timeout 30 env PATH="$tmp/$launcher" HOME="$tmp/home" LD_PRELOAD="$2" "$program" >"$tmp/said" 2>/dev/null &
    keys '^Расчет ЗУЛ$' alt Return
    [ $launcher = launcher ] || keys '^Отчет записан$' Return
    wait $! || fail "$launcher: the program did not end, or not well"
    # Its 23 lines, after those of the run before.
    [ "$(grep -sc $'\r$' "$report")" = $((lines += 23)) ] || fail "$launcher: no report written to $report"
done
[ "$(cat "$tmp/said")" = "DejaVu Sans Condensed|Показать подробности...|Расчет ЗУЛ" ] || fail "the probe saw: $(cat "$tmp/said")"
timeout 30 sh -c "until [ -s '$tmp/opened' ]; do sleep 0.1; done" &&
    [ "$(cat "$tmp/opened")" = "file://$tmp/Sample.txt" ] || fail "the launcher was not handed Sample.txt"
