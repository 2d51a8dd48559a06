#!/usr/bin/env bash
# The Windows build, checked under Wine. Where Qt for Windows has been built
# on this machine (tools/windows-build.sh builds it, once): the program, its
# suites and the installer, checked by tests/windows/check.sh ("N passed, M
# failed"), then whether the program and the installer built a second time,
# in another folder, are the same bytes. Elsewhere one line says how to get
# there, and the calculation's suite, which needs no Qt, is checked alone.
set -euo pipefail
cd "$(dirname "$0")/.."

bash tools/deps.sh g++-mingw-w64-x86-64-posix wine64 googletest xvfb xauth xdotool x11-utils imagemagick
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" # quiet, no Mono or Gecko installers
unset QT_QPA_PLATFORM # Qt for Windows has its own platform only
# A UTF-8 locale, a Russian one where it is made: Wine names Unix files in
# the locale's character set, and in the C locale of a bare shell (as CI's
# is) the installer made none of its Cyrillic shortcuts, and its pages were
# never found by their titles.
locale=ru_RU.UTF-8
locale -a | grep -qix ru_RU.utf8 || locale=C.UTF-8
export LANG=$locale LC_ALL=$locale
if bash tools/windows/build-qt.sh --cached >/dev/null; then
    bash tools/windows-build.sh | tail -n 2
    # Built again meanwhile (the checks under Wine mostly wait) from a copy in
    # another folder, in another locale and time zone: the same bytes.
    again=$(mktemp -d)
    tar -c --exclude='./build*' . | tar -x -C "$again"
    LC_ALL=C TZ=UTC-9 nice bash "$again/tools/windows-build.sh" --program >"$again/build.log" 2>&1 &
    rebuild=$!
    # The Linux program to compare with, in the test command's build folder
    cmake -S . -B build >/dev/null
    cmake --build build -j"$(nproc)" --target zulcalc >/dev/null
    # A disk that fills up for real, a tmpfs of one page (4 KiB), given to the suites under
    # Wine as drive R: where this runs as root (as the test command does in CI).
    small=$(mktemp -d) prefix=build-windows/wine
    if [ "$(id -u)" -eq 0 ] && mount -t tmpfs -o size=4k zulcalc "$small"; then
        # (into a prefix made first: one Wine finds half made has no drive C:)
        [ -e "$prefix/system.reg" ] || WINEPREFIX=$PWD/$prefix /usr/lib/wine/wine64 wineboot -i >/dev/null 2>&1
        ln -sfn "$small" "$prefix/dosdevices/r:"
        export ZULCALC_SMALL_DRIVE=R:
    else
        echo "windows check: no small disk (root mounts one): its cases are skipped"
    fi
    status=0
    # -noreset: by default the server resets when its last client leaves, as
    # it does whenever Wine's desktop process ends after a Wine program, and
    # the reset cuts off a client that is connecting at that moment (xdotool:
    # "Can't open display"). Seen once every few rooms; never with it.
    xvfb-run -a -s "-screen 0 1280x1024x24 -dpi 96 -noreset" \
        bash tests/windows/check.sh build-windows build/window/zulcalc || status=1
    umount -l "$small" 2>/dev/null; rmdir "$small"; rm -f "$prefix/dosdevices/r:"
    wait "$rebuild" || tail "$again/build.log"
    differ=$(cd build-windows/dist && for f in *; do cmp -s "$f" "$again/build-windows/dist/$f" || echo -n " $f"; done)
    rm -rf "$again"
    echo "windows check: built again in another folder:${differ:- the same bytes}${differ:+ differ}"
    [ -z "$differ" ] && exit $status
    exit 1
fi

echo "windows check: Qt for Windows is not built here; 'bash tools/windows-build.sh' builds it once (about half an hour) and then the program, its installer and their checks run too"
build=build-windows-core
cmake -S . -B "$build" -DZULCALC_CORE_ONLY=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_TOOLCHAIN_FILE=tools/windows/mingw-w64.cmake >/dev/null
cmake --build "$build" -j"$(nproc)" --target calc_tests >/dev/null
exec bash tests/windows/check.sh "$build"
