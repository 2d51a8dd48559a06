#!/usr/bin/env bash
# The Windows build checked under Wine (run under Xvfb): the three suites,
# the installer (the installed program printing to Documents), and the
# program used as a user would (user.sh). Ends with
# "N passed, M failed" over all of them. Without LINUX_PROGRAM, in a build of
# the calculation alone (no Qt for Windows), only its suite.
#   bash tests/windows/check.sh BUILD_FOLDER [LINUX_PROGRAM]
set -uo pipefail
build=$(realpath "$1") linux=${2:-}
here=$(dirname "$0")
export WINEPREFIX=$build/wine WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
wine=/usr/lib/wine/wine64
passed=0 failed=0
. "$here/visible.sh"
# A Wine of this prefix still running from before this display (a prefix
# made beforehand) would give every program its desktop, which has none:
# no window could be made. Ended, and waited for.
/usr/lib/wine/wineserver -k 2>/dev/null
/usr/lib/wine/wineserver -w
enter() { # title, shot: Enter on the window of that title until it goes
    local window
    window=$(visible "$1") || return 1
    sleep 1 # a page takes keys once drawn
    import -window root "$2"
    for _ in 1 2 3; do
        xdotool windowfocus --sync "$window" 2>/dev/null && xdotool key Return
        for _ in $(seq 25); do
            xdotool search --onlyvisible --name "$1" 2>/dev/null | grep -qx "$window" || return 0
            sleep 0.2
        done
    done
    return 1
}
count() { # passed, failed: adds them up and says so
    passed=$((passed + $1)) failed=$((failed + $2))
    echo "windows check: $3: $1 passed, $2 failed"
}

for suite in calc ${linux:+report window}; do
    exe=$build/tests/${suite}_tests.exe log=$build/${suite}_tests.log
    # Qt Test writes to its file: under Wine its standard output stays empty.
    # A Russian user's Windows: the system's messages in Russian.
    LC_ALL=ru_RU.UTF-8 "$wine" "$exe" $([ $suite = window ] && echo -o "$log,txt") >"$log" 2>&1 </dev/null
    # GoogleTest's closing lines, or Qt Test's totals
    ok=$(sed -n -e 's/^\[  PASSED  \] \([0-9]*\) test.*/\1/p' -e 's/^Totals: \([0-9]*\) passed.*/\1/p' "$log")
    bad=$(sed -n -e 's/^\[  FAILED  \] \([0-9]*\) test.*/\1/p' -e 's/^Totals: .* \([0-9]*\) failed.*/\1/p' "$log")
    [ "${ok:-0}" -eq 0 ] && bad=$((${bad:-0} + 1)) # it did not get to the end, or ran nothing
    grep -E '^(SKIP|FAIL!)|\[  FAILED  \]|: Failure' "$log" | sed 's/^/windows check: /' # the rest in $log
    count "${ok:-0}" "${bad:-0}" "$suite suite"
done

if [ -n "$linux" ]; then # the program and its installer were built too
    # The installer: per machine into Program Files with a Start menu shortcut
    # that starts the program and two to its documents; removing it leaves
    # none of its files behind.
    msi=$(basename "$build"/dist/zulcalc-*-x64.msi)
    folder="$WINEPREFIX/drive_c/Program Files/zulcalc"
    # (silent: a page would wait for a key, and time out)
    (cd "$build/dist" && timeout 300 "$wine" msiexec /i "$msi" /qn)
    # Wine puts a per-machine shortcut in the user's Start menu (Windows: ProgramData).
    shortcut=$(find "$WINEPREFIX/drive_c" -name 'Расчет ЗУЛ.lnk' | head -n 1)
    # The two documents beside the program, their shortcuts beside its own leading to them.
    documents=$(for page in user-guide calculation-method; do [ -f "$folder/$page.html" ] && cat "${shortcut%/*}/Расчет ЗУЛ — "*.lnk | tr -d '\0' | grep -qa "$page.html" && echo; done | wc -l)
    # Programs and Features names it, with its version and publisher.
    # (once, on a loaded machine, the export wrote nothing and said nothing)
    for _ in 1 2 3; do
        "$wine" reg export 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall' "$build/arp.reg" /y &&
            [ -s "$build/arp.reg" ] && break
        sleep 2
    done
    listed=$(iconv -f UTF-16 -t UTF-8 "$build/arp.reg" |
        grep -acE "^\"(DisplayName\"=\"Расчет ЗУЛ \(zulcalc\)|DisplayVersion\"=\"${msi:8:-8}|Publisher\"=\"zulcalc developers)\"")
    [ -n "$shortcut" ] && timeout 30 "$wine" start /unix "$shortcut"
    started=$(visible 'ЗУЛ')
    # It prints to the Wine user's Documents, though Wine lets it write its
    # folder as Windows lets an administrator write Program Files. (Documents
    # may be a link into the home folder: what was there is put back.)
    report="$WINEPREFIX/drive_c/users/$(id -un)/Documents/Sample.txt"
    size=$(stat -c %s "$report" 2>/dev/null || echo none)
    [ -n "$started" ] && xdotool windowfocus --sync "$started" key --delay 300 alt Return
    added() { [ ! -e "$folder/Sample.txt" ] && tail -c +$((${size/none/0} + 1)) "$report" 2>/dev/null | grep -c $'\r$'; }
    for _ in $(seq 60); do printed=$(added) && [ "$printed" = 23 ] && break; sleep 0.5; done
    [ "$size" = none ] && rm -f "$report" || truncate -s "$size" "$report"
    echo "windows check: installed: $folder/zulcalc.exe, $shortcut, $documents of 2 documents and shortcuts, $listed of 3 entries listed, started: ${started:-no}, printed ${printed:-0} lines to $report"
    if [ -f "$folder/zulcalc.exe" ] && [ "$documents" = 2 ] && [ "$listed" = 3 ] && [ -n "$started" ] && [ "$printed" = 23 ]; then installed=1; else installed=0; fi
    /usr/lib/wine/wineserver -k # ends it: a program still running keeps its file from removal
    (cd "$build/dist" && timeout 300 "$wine" msiexec /x "$msi" /qn)
    if [ ! -e "$folder" ] && [ ! -e "$shortcut" ]; then removed=1; else removed=0; fi
    count $((installed + removed)) $((2 - installed - removed)) "installer (installed, started and printed to Documents; removed)"

    # Opened as with a double click: Enter on its first page (Установить) and
    # on its last (Готово, «Запустить программу» ticked) installs the program
    # and starts it. Each page is shot into the build folder.
    (cd "$build/dist" && exec "$wine" msiexec /i "$msi") &
    pages=0
    for page in '^Программа установки «Расчет ЗУЛ»$' ': готово$'; do
        enter "$page" "$build/installer-$pages.png" && pages=$((pages + 1))
    done
    started=$(visible '^Расчет ЗУЛ$')
    echo "windows check: installer's pages: $pages of 2 answered, $folder/zulcalc.exe, started: ${started:-no}"
    if [ "$pages" = 2 ] && [ -f "$folder/zulcalc.exe" ] && [ -n "$started" ]; then paged=1; else paged=0; fi
    /usr/lib/wine/wineserver -k
    wait
    (cd "$build/dist" && timeout 300 "$wine" msiexec /x "$msi" /qn)
    count $paged $((1 - paged)) "installer's pages (first, last, the program started from it)"

    bash "$here/user.sh" "$build/dist/zulcalc.exe" "$linux" "$build/user" | tee "$build/user.log"
    same=$(grep -c ': same report' "$build/user.log")
    count "$same" $(($(grep -vc '^#' "$here/rooms.tsv") - same)) "user (the rooms of rooms.tsv)"
fi
echo "windows check (Wine): $passed passed, $failed failed"
[ "$failed" -eq 0 ]
