#!/usr/bin/env bash
# Builds zulcalc for Windows: Qt for Windows first, once, into a cache outside
# the clone (tools/windows/build-qt.sh; about half an hour on 2 cores), then
# the program, its test suites and the installer. The last two lines printed
# are the paths of zulcalc.exe and of the MSI.
set -euo pipefail
cd "$(dirname "$0")/.."

bash tools/deps.sh g++-mingw-w64-x86-64-posix ninja-build dpkg-dev googletest \
    qt6-translations-l10n librsvg2-bin icoutils wixl msitools
qt=$(bash tools/windows/build-qt.sh)

build=build-windows
cmake --no-warn-unused-cli -S . -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE=tools/windows/mingw-w64.cmake \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZULCALC_TESTS=ON -DCMAKE_PREFIX_PATH="$qt" \
    -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake >/dev/null
cmake --build "$build" -j"$(nproc)" --target zulcalc calc_tests report_tests window_tests |
    grep -E 'error|warning' || true
test -f "$build/window/zulcalc.exe"

# What users get: the program without its debugging symbols, and the
# installer that carries it.
version=$(sed -n 's/^project(zulcalc VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
dist=$build/dist
mkdir -p "$dist"
x86_64-w64-mingw32-strip -o "$dist/zulcalc.exe" "$build/window/zulcalc.exe"
staged=$build/msi
rm -rf "$staged" && mkdir -p "$staged"
cp "$dist/zulcalc.exe" "$build/window/zulcalc.ico" tools/windows/zulcalc.wxs "$staged"
cp /usr/share/common-licenses/GPL-3 "$staged/COPYING.txt"
cp window/desktop/copyright "$staged/copyright.txt"
cp "$qt/LICENSE.LGPL3" "$staged/Qt-LGPL-3.0.txt"
cp "$qt/SOURCE" "$staged/Qt-source.txt"
cp /usr/share/doc/fonts-dejavu-extra/copyright "$staged/DejaVu-fonts-copyright.txt"
# wixl takes the database's strings in the code page of the language
# WINDOWS_LANGUAGE names, but records none: the table _ForceCodepage records
# it, so that the Russian names read the same on any Windows.
msi=$dist/zulcalc-$version-x64.msi
(cd "$staged" && WINDOWS_LANGUAGE=ru wixl -a x64 -D Version="$version" -o ../../"$msi" zulcalc.wxs)
printf '\r\n\r\n1251\t_ForceCodepage\r\n' >"$staged/_ForceCodepage.idt"
WINDOWS_LANGUAGE=ru msibuild "$msi" -i "$staged/_ForceCodepage.idt"
echo "$PWD/$dist/zulcalc.exe"
echo "$PWD/$msi"
