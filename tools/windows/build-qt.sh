#!/usr/bin/env bash
# Builds Qt for Windows (static, release, MinGW-w64) from Debian's own source
# of the Qt the host tools come from, once, into a cache folder outside the
# clone that every later clone on this machine reuses. Prints the folder.
#
# The folder's name holds Qt's version and a hash of the options and the
# toolchain file, so changing either builds afresh beside the old one.
# ZULCALC_WINDOWS_CACHE moves the cache (default: ~/.cache/zulcalc). With
# --cached it builds nothing, and fails where there is no such folder yet.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)

bash "$here/../deps.sh" qt6-base-dev g++-mingw-w64-x86-64-posix ninja-build dpkg-dev >&2
sudo=()
[ "$(id -u)" -ne 0 ] && sudo=(sudo)

# The host's moc, rcc and uic must be of the very version built for Windows.
version=$(dpkg-query -W -f='${Version}' qt6-base-dev-tools)
upstream=${version%%+*}

# Only what the program and its tests use; every third-party library is
# Qt's bundled copy, so the result needs nothing but Windows' own DLLs.
# Debian's source lacks wintab (tabletevent) and Qt 6.4 compiles DirectWrite 3
# only with Direct2D, and the software-GL switch only with OpenGL.
options=(
    -DCMAKE_BUILD_TYPE=Release -DBUILD_SHARED_LIBS=OFF
    -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF
    -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake
    -DFEATURE_sql=OFF -DFEATURE_network=OFF -DFEATURE_dbus=OFF
    -DFEATURE_opengl=OFF -DFEATURE_dynamicgl=OFF -DFEATURE_vulkan=OFF
    -DFEATURE_printsupport=OFF -DFEATURE_concurrent=OFF -DFEATURE_xml=OFF
    -DFEATURE_tabletevent=OFF -DFEATURE_icu=OFF
    -DFEATURE_direct2d=OFF -DFEATURE_directwrite3=OFF
    -DFEATURE_zstd=OFF -DFEATURE_jpeg=OFF
    -DFEATURE_system_zlib=OFF -DFEATURE_system_png=OFF
    -DFEATURE_system_freetype=OFF -DFEATURE_system_harfbuzz=OFF
    -DFEATURE_system_pcre2=OFF -DFEATURE_system_doubleconversion=OFF
)
# Qt 6.8's Windows font code compiles only with Direct2D. DirectWrite 3 stays
# off there too: it would make DirectWrite's font database the default, and
# fonts are found and drawn by GDI as with 6.4, the build CI checks.
if dpkg --compare-versions "$upstream" ge 6.8; then
    options=("${options[@]/#-DFEATURE_direct2d=OFF/-DFEATURE_direct2d=ON}")
fi
key=$( (printf '%s\n' "$version" "${options[@]}"; cat "$here/mingw-w64.cmake") |
    sha256sum | cut -c1-12)
cache=${ZULCALC_WINDOWS_CACHE:-$HOME/.cache/zulcalc}
prefix=$cache/qt-$upstream-mingw-$key
if [ -f "$prefix/.complete" ]; then
    echo "$prefix"
    exit 0
fi
[ "${1:-}" = --cached ] && exit 1

mkdir -p "$cache"
# Two clones building at once: the second waits and then finds it done.
exec 9>"$cache/.lock"
flock 9
if [ -f "$prefix/.complete" ]; then
    echo "$prefix"
    exit 0
fi

work=$cache/work-$key
rm -rf "$work" "$prefix"
mkdir -p "$work"
cd "$work"
if ! apt-get source --download-only "qt6-base=$version" >/dev/null 2>&1; then
    # The source needs deb-src entries beside the binary ones: the same
    # mirrors and suites this machine already takes Debian from.
    echo "windows build: adding deb-src entries for the Debian mirrors in use" >&2
    apt-cache policy | awk '
        $2 ~ /^[a-z]+:\/\// && $NF == "Packages" { uri = $2; split($3, s, "/"); next }
        uri != "" && /o=Debian,/ { comps[uri " " s[1]] = comps[uri " " s[1]] " " s[2] }
        { uri = "" }
        END {
            for (k in comps) {
                split(k, f, " ")
                printf "Types: deb-src\nURIs: %s\nSuites: %s\nComponents:%s\n", f[1], f[2], comps[k]
                print "Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg\n"
            }
        }' | "${sudo[@]}" tee /etc/apt/sources.list.d/zulcalc-deb-src.sources >/dev/null
    "${sudo[@]}" apt-get update >/dev/null
    apt-get source --download-only "qt6-base=$version" >/dev/null
fi
# Debian's patches (its security fixes among them) applied, as on the host.
dpkg-source -x qt6-base_*.dsc source >/dev/null
echo "windows build: building Qt $upstream for Windows into $prefix (about half an hour on 2 cores)" >&2
cmake -S source -B build -G Ninja -DCMAKE_INSTALL_PREFIX="$prefix" \
    -DCMAKE_TOOLCHAIN_FILE="$here/mingw-w64.cmake" "${options[@]}" >configure.log 2>&1 ||
    { tail -n 40 configure.log >&2; exit 1; }
cmake --build build -j"$(nproc)" >build.log 2>&1 || { tail -n 40 build.log >&2; exit 1; }
cmake --install build >/dev/null
cp source/LICENSES/LGPL-3.0-only.txt "$prefix/LICENSE.LGPL3"
cat >"$prefix/SOURCE" <<EOF
zulcalc.exe holds Qt $upstream (Qt Base), linked in statically, under the GNU
Lesser General Public License version 3 (Qt-LGPL-3.0.txt). It was built,
unchanged but for Debian's patches, from Debian's source package qt6-base,
version $version ("apt-get source qt6-base=$version" on $(. /etc/os-release && echo "$PRETTY_NAME") brings it).
EOF
touch "$prefix/.complete"
cd "$cache" && rm -rf "$work"
echo "$prefix"
