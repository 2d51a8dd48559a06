#!/usr/bin/env bash
# The README's test command once more on Debian 13 (trixie), as a newcomer
# there would run it: in a chroot made once with debootstrap, from the Debian
# mirror this machine takes its packages from, and kept with what the command
# installs into it beside Qt for Windows (ZULCALC_WINDOWS_CACHE, default
# ~/.cache/zulcalc). Each run clones the commit checked out here into it and
# runs the command there; then the package built here is installed into it
# and must start. Prints the seconds it took.
# Where debootstrap or the mirror is not at hand, one line says so and the
# check is skipped.
set -euo pipefail
cd "$(dirname "$0")/.."
cache=${ZULCALC_WINDOWS_CACHE:-$HOME/.cache/zulcalc}
# Making a chroot, mounting into it and entering it all take root.
[ "$(id -u)" -eq 0 ] || exec sudo env ZULCALC_WINDOWS_CACHE="$cache" bash "$0" "$@"
say() { echo "debian 13 check: $*"; }

root=$cache/debian13
if [ ! -f "$root/.complete" ]; then
    # The mirror of the release this machine runs (not its -updates or
    # -security suites), as its apt sources name it.
    mirror=$(apt-cache policy | awk '
        $2 ~ /^[a-z]+:\/\// && $NF == "Packages" { uri = $2; next }
        uri != "" && /o=Debian,/ && /l=Debian,/ && /n=[a-z]+,/ { print uri; exit }
        { uri = "" }')
    [ -n "$mirror" ] || { say "no Debian mirror in this machine's apt sources; skipped"; exit 0; }
    bash tools/deps.sh debootstrap >/dev/null 2>&1 || { say "debootstrap cannot be installed; skipped"; exit 0; }
    say "making the chroot in $root from $mirror, once"
    rm -rf "$root"
    mkdir -p "$cache"
    if ! debootstrap --variant=minbase --include=ca-certificates,git,sudo \
        trixie "$root" "$mirror" >"$cache/debian13.log" 2>&1; then
        say "debootstrap from $mirror failed (see $cache/debian13.log); skipped"
        exit 0
    fi
    touch "$root/.complete"
fi

mounts=()
leave() {
    # What the tests left running there (Wine's server lingers a few seconds)
    # would keep the mounts busy.
    local p i inside
    inside=$(realpath "$root")
    for p in /proc/[0-9]*; do
        [ "$(readlink "$p/root" 2>/dev/null)" = "$inside" ] && { kill "${p#/proc/}" 2>/dev/null || true; }
    done
    for ((i = ${#mounts[@]} - 1; i >= 0; i--)); do
        umount "${mounts[i]}" 2>/dev/null || umount -l "${mounts[i]}" || true
    done
}
trap leave EXIT
mount_in() { mount "$@" && mounts+=("${*: -1}"); }
mount_in -t proc proc "$root/proc"
mount_in -t sysfs sysfs "$root/sys"
mount_in --bind /dev "$root/dev"
mount_in --bind /dev/pts "$root/dev/pts"
mount_in -t tmpfs shm "$root/dev/shm"
mount_in -t tmpfs tmp "$root/tmp"
cp /etc/resolv.conf "$root/etc/resolv.conf"

in_chroot() {
    chroot "$root" env -i HOME=/root TERM=dumb LANG=C.UTF-8 \
        PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin "$@"
}
clone=$root/root/zulcalc
rm -rf "$clone"
git -c safe.directory="$PWD" clone -q --no-local "$PWD" "$clone"
git -C "$clone" checkout -q "$(git rev-parse HEAD)"
# Only there, ccache: the same sources come every run, and each of the
# command's four builds would otherwise start from nothing. The fuzzers are
# only built and tried: the long run is this machine's.
in_chroot sh -c 'command -v ccache >/dev/null ||
    { apt-get update -q && apt-get install -y -q ccache; } >/dev/null'
in_chroot env CMAKE_C_COMPILER_LAUNCHER=ccache CMAKE_CXX_COMPILER_LAUNCHER=ccache \
    ZULCALC_FUZZ_SECONDS=5 bash -c 'cd /root/zulcalc && bash tools/test.sh'

# The package as this machine builds it, from the test command's build
# (cpack builds what is not built yet)
cmake -S . -B build >/dev/null
(cd build && cpack -G DEB -B "$root/tmp/package" >/dev/null 2>&1)
in_chroot sh -c 'apt-get install -y -q /tmp/package/zulcalc_*_amd64.deb >/tmp/install.log 2>&1 ||
    { cat /tmp/install.log; exit 1; }'
status=0
in_chroot env QT_QPA_PLATFORM=offscreen timeout 3 zulcalc 2>/dev/null || status=$?
in_chroot apt-get purge -y -q zulcalc >/dev/null 2>&1
[ "$status" -eq 124 ] || { say "the package built here, installed there, ended with $status"; exit 1; }
say "the test command passes, and the package built here installs and starts ($SECONDS s)"
