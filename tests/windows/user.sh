#!/usr/bin/env bash
# The Windows program used as a user would, under Xvfb and Wine: each room is
# typed through the keyboard in Tab order, Расчет pressed, every message box
# answered with Enter, and the report printed through the menu (Alt, then
# Enter). The Sample.txt that appears beside zulcalc.exe must be byte for
# byte the one the Linux build writes for the same keystrokes, and the two
# must have shown as many message boxes. Prints a line a room.
#   bash tests/windows/user.sh WINDOWS_EXE LINUX_PROGRAM OUT_FOLDER
set -euo pipefail
exe=$(realpath "$1") linux=$(realpath "$2") out=$3
export LANG=ru_RU.UTF-8 LC_ALL=ru_RU.UTF-8 # a Russian desktop: decimal commas in the results
unset QT_QPA_PLATFORM # both on the display, each with its system's own platform
rm -rf "$out" && mkdir -p "$out"
# Nothing opens the report for either (no launcher where the Linux build
# looks, no program for .txt in Wine): each must say where it is.
/usr/lib/wine/wine64 reg delete 'HKCR\.txt' /f >/dev/null 2>&1 || true

. "$(dirname "$0")/visible.sh"

# One run of one build in a folder of its own; prints how many boxes it answered.
run() { # folder, build, case fields...
    local dir=$1 build=$2 mount=$4 boxes=0
    shift 4
    mkdir -p "$dir"
    cp "${!build}" "$dir/"
    local start=(env PATH="$dir" ./zulcalc)
    [ "$build" = exe ] && start=(/usr/lib/wine/wine64 zulcalc.exe)
    (cd "$dir" && exec "${start[@]}") >"$dir.log" 2>&1 &
    local program=$! window
    window=$(visible '^Расчет ЗУЛ$') || {
        kill $program 2>/dev/null
        echo "no window within a minute: nothing typed"
        return
    }
    xdotool windowfocus --sync "$window"
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
    local box boxTitles='^(Ошибка вычислений!|Расчет невозможен)$'
    # (a window closing while xdotool looks at it makes it print an X error)
    while box=$(xdotool search --onlyvisible --name "$boxTitles" 2>/dev/null | head -n 1) && [ -n "$box" ]; do
        xdotool key Return
        boxes=$((boxes + 1))
        for _ in $(seq 50); do # until that box has gone, however slowly
            xdotool search --onlyvisible --name "$boxTitles" 2>/dev/null | grep -qx "$box" || break
            sleep 0.2
        done
        sleep 1
    done
    if [ "${15}" = print ]; then
        xdotool key --delay 300 alt Return
        timeout 30 xdotool search --sync --onlyvisible --name '^Отчет записан$' windowfocus --sync >/dev/null &&
            xdotool key Return && boxes+=", told where the report is"
    else
        xdotool search --onlyvisible --name '^Расчет ЗУЛ$' >/dev/null && boxes+=", the window stayed"
        import -window root "$dir/window.png"
        xdotool key --delay 100 shift+Tab space # Выход
    fi
    timeout 20 tail --pid=$program -f /dev/null || boxes+=", and it did not end"
    echo "$boxes"
}

# The rooms of rooms.tsv, each typed into both programs.
while read -r name fields; do
    # shellcheck disable=SC2086
    shown_windows=$(run "$out/$name/windows" exe $name $fields)
    # shellcheck disable=SC2086
    shown_linux=$(run "$out/$name/linux" linux $name $fields)
    /usr/lib/wine/wineserver -k 2>/dev/null || true # whatever of Wine's is left
    # A room that prints writes a report, the same from both; one that does not stays.
    if [ "$shown_windows" = "$shown_linux" ] &&
        [[ ${fields##*[[:space:]]} = print && -s $out/$name/windows/Sample.txt || $shown_windows = *stayed ]] &&
        cmp -s <(cat "$out/$name/windows/Sample.txt" 2>/dev/null) <(cat "$out/$name/linux/Sample.txt" 2>/dev/null); then
        echo "windows user check: $name: same report; message boxes: $shown_windows"
    else
        echo "windows user check: $name: DIFFERS ($shown_windows boxes against $shown_linux)"
    fi
done < <(grep -v '^#' "$(dirname "$0")/rooms.tsv")
