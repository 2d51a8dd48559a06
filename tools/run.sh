#!/usr/bin/env bash
# Installs what building and running the program need, builds it (in build/,
# without the tests unless the test command has built them there) and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."

bash tools/deps.sh
cmake -S . -B build
cmake --build build -j"$(nproc)" --target zulcalc
exec build/window/zulcalc
