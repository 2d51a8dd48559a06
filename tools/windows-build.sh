#!/usr/bin/env bash
# Builds zulcalc for Windows: Qt for Windows first, once, into a cache outside
# the clone (tools/windows/build-qt.sh; about half an hour on 2 cores), then
# the program, its test suites (not with --program) and the installer. The
# last two lines printed are the paths of zulcalc.exe and of the MSI.
set -euo pipefail
cd "$(dirname "$0")/.."

bash tools/deps.sh g++-mingw-w64-x86-64-posix ninja-build dpkg-dev googletest \
    qt6-translations-l10n librsvg2-bin icoutils wixl msitools uuid-runtime
qt=$(bash tools/windows/build-qt.sh)

build=build-windows
# Debian's Qt 6.8 skips including its plugins' packages by default, which
# leaves a static Qt's programs with no platform plugin: they are included.
cmake --no-warn-unused-cli -S . -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE=tools/windows/mingw-w64.cmake \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZULCALC_TESTS=ON -DCMAKE_PREFIX_PATH="$qt" \
    -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
    -DQT_SKIP_AUTO_PLUGIN_INCLUSION=OFF >/dev/null
targets=(zulcalc documents calc_tests report_tests window_tests)
[ "${1:-}" = --program ] && targets=(zulcalc documents)
# What users get goes into dist, made afresh: after a failure it holds
# nothing, no older build's program or installer.
dist=$build/dist
rm -rf "$dist"
# A build that fails stops here, with what failed: in a folder built before,
# the programs that no longer build would still be there, the old ones, for
# the checks to run and the installer to pack. Warnings are shown either way.
log=$build/build.log
if ! cmake --build "$build" -j"$(nproc)" --target "${targets[@]}" >"$log" 2>&1; then
    # ninja's account of each failed step: the step, its command, what it said
    sed -n '/^FAILED: /,$p' "$log" | grep -v '^\[[0-9]*/[0-9]*\] ' >&2
    echo "windows build: the build failed; all it said is in $log" >&2
    exit 1
fi
grep -E 'warning' "$log" >&2 || true

# What users get: the program without its debugging symbols, and the
# installer that carries it. Both carry the commit's date, not the clock's,
# so that one commit gives the same bytes in any folder at any time.
epoch=${SOURCE_DATE_EPOCH:-$(git log -1 --format=%ct 2>/dev/null || date +%s)}
version=$(sed -n 's/^project(zulcalc VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
mkdir -p "$dist"
# strip stamps the program anew, with this date
SOURCE_DATE_EPOCH=$epoch x86_64-w64-mingw32-strip -o "$dist/zulcalc.exe" "$build/window/zulcalc.exe"
staged=$build/msi
rm -rf "$staged" && mkdir -p "$staged"
cp "$dist/zulcalc.exe" "$build/window/zulcalc.ico" tools/windows/zulcalc.wxs tools/windows/dialogs.sh \
    "$build"/docs/*.html "$staged"
cp /usr/share/common-licenses/GPL-3 "$staged/COPYING.txt"
cp window/desktop/copyright "$staged/copyright.txt"
cp "$qt/LICENSE.LGPL3" "$staged/Qt-LGPL-3.0.txt"
cp "$qt/SOURCE" "$staged/Qt-source.txt"
cp /usr/share/doc/fonts-dejavu-extra/copyright "$staged/DejaVu-fonts-copyright.txt"
touch -d "@$epoch" "$staged"/* # the cabinet records its files' times
# The product code is one for each version: installing a rebuilt installer
# of a version already installed adds no second copy. The package code is one
# for each set of files (the installer's pages, dialogs.sh, among them).
upgrade=$(sed -n 's/.*UpgradeCode="\([^"]*\)".*/\1/p' tools/windows/zulcalc.wxs)
product=$(uuidgen --sha1 --namespace "$upgrade" --name "$version")
files=$(cd "$staged" && sha256sum -- * | LC_ALL=C sort)
package=$(uuidgen --sha1 --namespace "$product" --name "$files")
# wixl takes the database's strings in the code page of the language
# WINDOWS_LANGUAGE names, but records none: the table _ForceCodepage records
# it, so that the Russian names read the same on any Windows. It also draws
# the package code at random and dates the database by the clock: the table
# _SummaryInformation sets both. Its times, as the cabinet's, are read in UTC.
msi=$dist/zulcalc-$version-x64.msi
made=$staged/installer.msi # moved into dist once whole
export TZ=UTC
(cd "$staged" && WINDOWS_LANGUAGE=ru wixl -a x64 -D Version="$version" -D ProductCode="$product" \
    -o installer.msi zulcalc.wxs)
# Its pages: tables wixl cannot write (tools/windows/dialogs.sh), imported in
# the order they are written, not a glob's, which changes with the locale:
# the order of the imports is the order of the database's strings.
bash tools/windows/dialogs.sh "$made" "$staged/pages" >"$staged/pages.txt"
mapfile -t pages <"$staged/pages.txt"
printf '\r\n\r\n1251\t_ForceCodepage\r\n' >"$staged/_ForceCodepage.idt"
stamp=$(date -d "@$epoch" '+%Y/%m/%d %H:%M:%S')
printf 'PropertyId\tValue\r\ni2\tl255\r\n_SummaryInformation\tPropertyId\r\n9\t{%s}\r\n12\t%s\r\n13\t%s\r\n' \
    "${package^^}" "$stamp" "$stamp" >"$staged/_SummaryInformation.idt"
WINDOWS_LANGUAGE=ru msibuild "$made" -i "$staged/_ForceCodepage.idt" "$staged/_SummaryInformation.idt" "${pages[@]}"
mv "$made" "$msi"
echo "$PWD/$dist/zulcalc.exe"
echo "$PWD/$msi"
