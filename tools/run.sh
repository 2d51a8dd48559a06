#!/usr/bin/env bash
# Installs what building and running the program need, builds it (in build/,
# without the tests unless the test command has built them there) and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."

bash tools/deps.sh
# A new build folder builds the program alone, with no GoogleTest; one the
# test command made keeps its tests.
cmake -S . -B build $([ -f build/CMakeCache.txt ] || echo -DZULCALC_TESTS=OFF)
cmake --build build -j"$(nproc)" --target zulcalc
exec build/window/zulcalc
