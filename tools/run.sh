#!/usr/bin/env bash
# Builds the program and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."

bash tools/deps.sh
cmake -S . -B build
cmake --build build -j"$(nproc)" --target zulcalc
exec build/window/zulcalc
