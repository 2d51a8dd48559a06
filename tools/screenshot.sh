#!/usr/bin/env bash
# Photographs the window and its message boxes under Xvfb at scale 1 and 2:
#   bash tools/screenshot.sh [FOLDER]     (default: screenshots/)
set -euo pipefail
cd "$(dirname "$0")/.."
out=${1:-screenshots}

bash tools/deps.sh xvfb xauth imagemagick
# A new build folder builds the program alone, with no GoogleTest; one the
# test command made keeps its tests.
cmake -S . -B build $([ -f build/CMakeCache.txt ] || echo -DZULCALC_TESTS=OFF) >/dev/null
cmake --build build -j"$(nproc)" --target zulcalc_shots >/dev/null
mkdir -p "$out"
for scale in 1 2; do
    env -u QT_QPA_PLATFORM QT_SCALE_FACTOR=$scale \
        xvfb-run -a -s "-screen 0 $((1920 * scale))x$((1080 * scale))x24 -dpi 96 -noreset" \
        build/tools/screenshot/zulcalc_shots "$out/scale$scale"
done
