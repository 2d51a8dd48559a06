#!/usr/bin/env bash
# Builds the program and installs it with its menu entry, icon and AppStream
# metadata under PREFIX (default /usr/local; through sudo when not root).
set -euo pipefail
cd "$(dirname "$0")/.."
prefix=${1:-/usr/local}

bash tools/deps.sh
# A new build folder builds the program alone, with no GoogleTest; one the
# test command made keeps its tests.
cmake -S . -B build $([ -f build/CMakeCache.txt ] || echo -DZULCALC_TESTS=OFF)
cmake --build build -j"$(nproc)" --target zulcalc compressed_docs documents
sudo=()
[ "$(id -u)" -ne 0 ] && [ ! -w "$prefix" ] && sudo=(sudo)
"${sudo[@]}" cmake --install build --prefix "$prefix"
