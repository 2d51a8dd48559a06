#!/usr/bin/env bash
# Photographs the window and its message boxes under Xvfb at scale 1 and 2:
#   bash tools/screenshot.sh [FOLDER]              (default: screenshots/)
# or makes the front page's picture, the window at scale 1 after the method's
# second worked example, without dates, noting the Qt that drew it:
#   bash tools/screenshot.sh --front-page [PNG]   (default: docs/images/window.png)
# ZULCALC_SHOTS names a zulcalc_shots already built (the test that compares
# the picture); otherwise it is built in build/.
set -euo pipefail
cd "$(dirname "$0")/.."
front=
if [ "${1:-}" = --front-page ]; then
    front=${2:-docs/images/window.png}
    set --
fi
out=${1:-screenshots}

shots=${ZULCALC_SHOTS:-}
if [ -z "$shots" ]; then
    bash tools/deps.sh xvfb xauth imagemagick
    # A new build folder builds the program alone, with no GoogleTest; one the
    # test command made keeps its tests.
    cmake -S . -B build $([ -f build/CMakeCache.txt ] || echo -DZULCALC_TESTS=OFF) >/dev/null
    cmake --build build -j"$(nproc)" --target zulcalc_shots >/dev/null
    shots=build/tools/screenshot/zulcalc_shots
fi
shoot() { # scale, prefix
    env -u QT_QPA_PLATFORM QT_SCALE_FACTOR=$1 \
        xvfb-run -a -s "-screen 0 $((1920 * $1))x$((1080 * $1))x24 -dpi 96 -noreset" "$shots" "$2"
}

if [ -n "$front" ]; then
    made=$(mktemp -d)
    trap 'rm -rf "$made"' EXIT
    qt=$(shoot 1 "$made/shot" | sed -n 's/^drawn by //p')
    mkdir -p "$(dirname "$front")"
    convert "$made/shot-window.png" -define png:exclude-chunks=date,time \
        -set comment "$qt" "$front"
    echo "$front"
    exit
fi
mkdir -p "$out"
for scale in 1 2; do
    shoot $scale "$out/scale$scale"
done
