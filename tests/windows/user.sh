#!/usr/bin/env bash
# The Windows program used as a user would, under Xvfb and Wine: each room is
# typed through the keyboard in Tab order, Расчет pressed, every message box
# answered with Enter, and the report printed through the menu (Alt, then
# Enter). The Sample.txt that appears beside zulcalc.exe must be byte for
# byte the one the Linux build writes for the same keystrokes, and the two
# must have shown as many message boxes.
#   bash tests/windows/user.sh WINDOWS_EXE LINUX_PROGRAM OUT_FOLDER
set -euo pipefail
exe=$(realpath "$1") linux=$(realpath "$2") out=$3
export LANG=ru_RU.UTF-8 LC_ALL=ru_RU.UTF-8 # a Russian desktop: decimal commas in the results
rm -rf "$out" && mkdir -p "$out"

# name, mount, then the boxes in Tab order: project code, building, address,
# floor, room number, room name, area, H W L S P N, and last r; «print» or
# «stay» (the calculation cannot run: the window stays, Выход ends it).
cases='office wall P-17 Sklad ul.Mira 2 15 Kabinet 60 3 6 10 90 1 60 3 print
loud wall P-18 Ceh ul.Lenina 1 3 Ceh 60 3.5 6 10 127 10 60 2 print
ceiling ceiling P-19 Zal ul.Mira 3 7 Zal 60 3 6 10 90 1 60 3 print
noheight wall P-20 Sklad ul.Mira 2 15 Kabinet 60 - 6 10 90 1 60 3 stay'

# One run of one build in a folder of its own; prints how many boxes it answered.
run() { # folder, build, case fields...
    local dir=$1 build=$2 mount=$4 boxes=0 wid
    shift 4
    mkdir -p "$dir"
    if [ "$build" = windows ]; then
        cp "$exe" "$dir/" && (cd "$dir" && exec /usr/lib/wine/wine64 zulcalc.exe) >"$dir.log" 2>&1 &
    else
        cp "$linux" "$dir/" && (cd "$dir" && QT_QPA_PLATFORM=xcb exec ./zulcalc) >"$dir.log" 2>&1 &
    fi
    local pid=$!
    wid=$(xdotool search --sync --onlyvisible --name '^Расчет ЗУЛ$' | head -n 1)
    xdotool windowfocus --sync "$wid"
    sleep 1
    for field in "${@:1:13}"; do
        [ "$field" != - ] && xdotool type --delay 20 "$field"
        xdotool key Tab
    done
    [ "$mount" = ceiling ] && xdotool key Down
    xdotool key --delay 50 Tab Tab Tab Tab Tab Tab Tab Tab Tab Tab # results, Очистить, Выход, Расчет, r
    xdotool type --delay 20 "${14}"
    xdotool key --delay 100 shift+Tab space
    sleep 2
    while xdotool search --onlyvisible --name '^(Ошибка вычислений!|Расчет невозможен)$' >/dev/null; do
        xdotool key Return
        boxes=$((boxes + 1))
        sleep 1
    done
    if [ "${15}" = print ]; then
        xdotool key --delay 300 alt Return
    else
        xdotool search --onlyvisible --name '^Расчет ЗУЛ$' >/dev/null # still there
        import -window root "$dir/window.png"
        xdotool key --delay 100 shift+Tab shift+Tab Return # Выход
    fi
    timeout 20 tail --pid="$pid" -f /dev/null
    echo "$boxes"
}

failed=0
while read -r name fields; do
    # shellcheck disable=SC2086
    shown_windows=$(run "$out/$name/windows" windows $name $fields)
    # shellcheck disable=SC2086
    shown_linux=$(run "$out/$name/linux" linux $name $fields)
    /usr/lib/wine/wineserver -k 2>/dev/null || true # the editor the report was opened in
    report=$out/$name/windows/Sample.txt
    if [ "$shown_windows" = "$shown_linux" ] && if [ "${fields##* }" = stay ]; then
        [ ! -e "$report" ] && [ ! -e "$out/$name/linux/Sample.txt" ]
    else cmp -s "$report" "$out/$name/linux/Sample.txt"; fi; then
        echo "windows user check: $name: same report, $shown_windows message boxes"
    else
        echo "windows user check: $name: DIFFERS ($shown_windows boxes against $shown_linux; $report)"
        failed=$((failed + 1))
    fi
done <<<"$cases"
echo "windows user check (Wine): $((4 - failed)) passed, $failed failed"
[ "$failed" -eq 0 ]
