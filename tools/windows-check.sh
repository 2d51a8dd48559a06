#!/usr/bin/env bash
# The Windows build, checked under Wine. Where Qt for Windows has been built
# on this machine (tools/windows-build.sh builds it, once): the program, its
# suites and the installer, checked by tests/windows/check.sh. Elsewhere one
# line says how to get there, and the calculation's suite, which needs no Qt,
# is checked alone. Ends with "N passed, M failed".
set -euo pipefail
cd "$(dirname "$0")/.."

bash tools/deps.sh g++-mingw-w64-x86-64-posix wine64 googletest xvfb xauth xdotool imagemagick
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" # quiet, no Mono or Gecko installers
unset QT_QPA_PLATFORM # Qt for Windows has its own platform only
if bash tools/windows/build-qt.sh --cached >/dev/null; then
    bash tools/windows-build.sh | tail -n 2
    # The Linux program to compare with, in the test command's build folder
    cmake -S . -B build >/dev/null
    cmake --build build -j"$(nproc)" --target zulcalc >/dev/null
    exec xvfb-run -a -s "-screen 0 1280x1024x24 -dpi 96" \
        bash tests/windows/check.sh build-windows build/window/zulcalc
fi

echo "windows check: Qt for Windows is not built here; 'bash tools/windows-build.sh' builds it once (about half an hour) and then the program, its installer and their checks run too"
build=build-windows-core
cmake -S . -B "$build" -DZULCALC_CORE_ONLY=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_TOOLCHAIN_FILE=tools/windows/mingw-w64.cmake >/dev/null
cmake --build "$build" -j"$(nproc)" --target calc_tests >/dev/null
exec bash tests/windows/check.sh "$build"
