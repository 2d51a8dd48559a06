#!/usr/bin/env bash
# Builds everything and runs every test: the suite in three locales, again
# as an unprivileged user where we are root (for the permission cases), again
# built with AddressSanitizer and UndefinedBehaviorSanitizer, a short fuzzing
# run (ZULCALC_FUZZ_SECONDS per target, 60 by default, 0 to skip), and the
# calculation's tests built for Windows and run under Wine.
# The window tests use Qt's offscreen platform: no display needed.
set -euo pipefail
cd "$(dirname "$0")/.."

# GoogleTest; the real program printing on X: a display, a session bus, a global menu,
# xprop to read what its window says it is; the front page's picture made again and compared
bash tools/deps.sh libgtest-dev locales libc-l10n desktop-file-utils appstream dpkg-dev file \
    xvfb xdotool x11-utils dbus-daemon appmenu-registrar xauth imagemagick
sudo=()
[ "$(id -u)" -ne 0 ] && sudo=(sudo)
for locale in en_US ru_RU; do
    if ! locale -a 2>/dev/null | grep -qi "^${locale}\.utf-\?8$"; then
        "${sudo[@]}" localedef -i "$locale" -f UTF-8 "$locale.UTF-8"
    fi
done

export QT_QPA_PLATFORM=offscreen
jobs=$(nproc)

cmake -S . -B build -DZULCALC_TESTS=ON
cmake --build build -j"$jobs"
for locale in C en_US.UTF-8 ru_RU.UTF-8; do
    echo "== tests, locale $locale"
    LANG=$locale LC_ALL=$locale ctest --test-dir build --output-on-failure -j"$jobs"
done

# Root writes into read-only files and folders; those cases need a user who
# cannot. That user may not enter the clone (root's home is closed to others):
# the suites and their tables run from a copy it can read.
if [ "$(id -u)" -eq 0 ] && command -v runuser >/dev/null; then
    echo "== permission cases, as nobody"
    copy=$(mktemp -d)
    trap 'rm -rf "$copy"' EXIT
    cp build/tests/report_tests build/tests/window_tests "$copy"
    cp -r tests "$copy/data"
    chmod -R a+rX "$copy"
    as_nobody() { (cd "$copy" && runuser -u nobody -- env HOME=/tmp XDG_RUNTIME_DIR= ZULCALC_TEST_DATA="$copy/data" "$@"); }
    as_nobody ./report_tests --gtest_brief=1
    as_nobody ./window_tests -silent
fi

echo "== tests, sanitizer build"
cmake -S . -B build-sanitize -DZULCALC_TESTS=ON -DZULCALC_SANITIZE=ON
cmake --build build-sanitize -j"$jobs"
ctest --test-dir build-sanitize --output-on-failure -j"$jobs"

fuzz_seconds=${ZULCALC_FUZZ_SECONDS:-60}
if [ "$fuzz_seconds" -gt 0 ]; then
    echo "== fuzzing, $fuzz_seconds s per target"
    bash fuzz/run.sh "$fuzz_seconds"
fi

echo "== windows check"
bash tools/windows-check.sh
