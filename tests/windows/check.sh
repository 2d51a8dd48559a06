#!/usr/bin/env bash
# The Windows build checked under Wine (run under Xvfb): the three suites,
# the installer, and the program used as a user would (user.sh). Ends with
# "N passed, M failed" over all of them. Without LINUX_PROGRAM, in a build of
# the calculation alone (no Qt for Windows), only its suite.
#   bash tests/windows/check.sh BUILD_FOLDER [LINUX_PROGRAM]
set -uo pipefail
build=$(realpath "$1") linux=${2:-}
here=$(dirname "$0")
export WINEPREFIX=$build/wine WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
wine=/usr/lib/wine/wine64
passed=0 failed=0
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
    # that starts the program; removing it leaves none of its files behind.
    msi=$(basename "$build"/dist/zulcalc-*-x64.msi)
    folder="$WINEPREFIX/drive_c/Program Files/zulcalc"
    (cd "$build/dist" && "$wine" msiexec /i "$msi" /qn)
    # Wine puts a per-machine shortcut in the user's Start menu (Windows: ProgramData).
    shortcut=$(find "$WINEPREFIX/drive_c" -name 'Расчет ЗУЛ.lnk' | head -n 1)
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
    started=$(timeout 60 xdotool search --sync --onlyvisible --name 'ЗУЛ' | head -n 1)
    echo "windows check: installed: $folder/zulcalc.exe, $shortcut, $listed of 3 entries listed, started: ${started:-no}"
    if [ -f "$folder/zulcalc.exe" ] && [ "$listed" = 3 ] && [ -n "$started" ]; then installed=1; else installed=0; fi
    /usr/lib/wine/wineserver -k # ends it: a program still running keeps its file from removal
    (cd "$build/dist" && "$wine" msiexec /x "$msi" /qn)
    if [ ! -e "$folder" ] && [ ! -e "$shortcut" ]; then removed=1; else removed=0; fi
    count $((installed + removed)) $((2 - installed - removed)) "installer (installed and started, removed)"

    bash "$here/user.sh" "$build/dist/zulcalc.exe" "$linux" "$build/user" | tee "$build/user.log"
    same=$(grep -c ': same report' "$build/user.log")
    count "$same" $(($(grep -vc '^#' "$here/rooms.tsv") - same)) "user (the rooms of rooms.tsv)"
fi
echo "windows check (Wine): $passed passed, $failed failed"
[ "$failed" -eq 0 ]
