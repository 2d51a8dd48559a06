#!/usr/bin/env bash
# Builds everything and runs every test (the window tests on Qt's offscreen
# platform, so no display is needed).
set -euo pipefail
cd "$(dirname "$0")/.."

bash tools/deps.sh
cmake -S . -B build -DZULCALC_TESTS=ON
cmake --build build -j"$(nproc)"
QT_QPA_PLATFORM=offscreen ctest --test-dir build --output-on-failure -j"$(nproc)"
