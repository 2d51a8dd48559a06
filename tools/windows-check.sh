#!/usr/bin/env bash
# The calculation and its tests built for Windows with MinGW-w64 and run
# under Wine: the golden values must hold bit for bit with Windows' maths
# library too. Ends with "N passed, M failed"; skips (saying so) where the
# cross-compiler or Wine cannot be installed.
set -euo pipefail
cd "$(dirname "$0")/.."

if ! bash tools/deps.sh g++-mingw-w64-x86-64-posix wine64 googletest; then
    echo "windows check: skipped, MinGW-w64 or Wine cannot be installed here"
    exit 0
fi
build=build-windows
cmake -S . -B "$build" -DZULCALC_CORE_ONLY=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_TOOLCHAIN_FILE=tools/windows/mingw-w64.cmake >/dev/null
cmake --build "$build" -j"$(nproc)" --target calc_tests file_lock >/dev/null

# A prefix of our own, quiet, and without the Mono and Gecko installers.
export WINEPREFIX=$PWD/$build/wine WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
log=$build/calc_tests.log
status=0
/usr/lib/wine/wine64 "$build/tests/calc_tests.exe" --gtest_brief=1 >"$log" 2>&1 </dev/null || status=$?
/usr/lib/wine/wineserver -k 2>/dev/null || true
passed=$(sed -n 's/^\[  PASSED  \] \([0-9]*\) test.*/\1/p' "$log")
failed=$(sed -n 's/^\[  FAILED  \] \([0-9]*\) test.*/\1/p' "$log")
if [ "$status" -ne 0 ] || [ -z "$passed" ]; then
    grep -v '^\[       OK' "$log" | tail -n 40
fi
echo "windows check (MinGW-w64, Wine): ${passed:-0} passed, ${failed:-0} failed"
[ "$status" -eq 0 ] && [ -n "$passed" ]
