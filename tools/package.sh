#!/usr/bin/env bash
# Builds the Debian package of the program and prints its path as the last
# line. Install it with: sudo apt install ./zulcalc_<version>_amd64.deb
set -euo pipefail
cd "$(dirname "$0")/.."

bash tools/deps.sh dpkg-dev file
umask 022 # the package's files and folders get the modes Debian expects
build=build-package
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DZULCALC_TESTS=OFF >/dev/null
cmake --build "$build" -j"$(nproc)" --target zulcalc compressed_docs documents >/dev/null
(cd "$build" && cpack -G DEB >cpack.log 2>&1) || { cat "$build/cpack.log"; exit 1; }
ls "$PWD/$build"/zulcalc_*_amd64.deb
