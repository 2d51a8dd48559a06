#!/usr/bin/env bash
# The README's test command once more on Debian 13 (trixie), as a newcomer
# there would run it: in a chroot made once with debootstrap, from the Debian
# mirror this machine takes its packages from, and kept with what the command
# installs into it beside Qt for Windows (ZULCALC_WINDOWS_CACHE, default
# ~/.cache/zulcalc). Each run clones the commit checked out here into it and
# runs the command there; then the package built here, by the test command's
# build folder, is installed into it and must start.
# Where debootstrap or the mirror is not at hand, one line says so and the
# check is skipped.
set -euo pipefail
cd "$(dirname "$0")/.."
sudo=()
[ "$(id -u)" -ne 0 ] && sudo=(sudo)
say() { echo "debian 13 check: $*"; }

cache=${ZULCALC_WINDOWS_CACHE:-$HOME/.cache/zulcalc}
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
    "${sudo[@]}" rm -rf "$root"
    mkdir -p "$cache"
    if ! "${sudo[@]}" debootstrap --variant=minbase --include=ca-certificates,git,sudo \
        trixie "$root" "$mirror" >"$cache/debian13.log" 2>&1; then
        say "debootstrap from $mirror failed (see $cache/debian13.log); skipped"
        exit 0
    fi
    "${sudo[@]}" touch "$root/.complete"
fi

mounts=()
unmount() {
    local i
    for ((i = ${#mounts[@]} - 1; i >= 0; i--)); do "${sudo[@]}" umount "${mounts[i]}" || true; done
}
trap unmount EXIT
mount_in() { "${sudo[@]}" mount "$@" && mounts+=("${*: -1}"); }
mount_in -t proc proc "$root/proc"
mount_in -t sysfs sysfs "$root/sys"
mount_in --bind /dev "$root/dev"
mount_in --bind /dev/pts "$root/dev/pts"
mount_in -t tmpfs shm "$root/dev/shm"
mount_in -t tmpfs tmp "$root/tmp"
"${sudo[@]}" cp /etc/resolv.conf "$root/etc/resolv.conf"

in_chroot() {
    "${sudo[@]}" chroot "$root" env -i HOME=/root TERM=dumb LANG=C.UTF-8 \
        PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin "$@"
}
clone=$root/root/zulcalc
"${sudo[@]}" rm -rf "$clone"
"${sudo[@]}" git clone -q --no-local "$PWD" "$clone"
"${sudo[@]}" git -C "$clone" checkout -q "$(git rev-parse HEAD)"
# The fuzzers are only built and tried there: the long run is this machine's.
in_chroot bash -c 'cd /root/zulcalc && ZULCALC_FUZZ_SECONDS=5 bash tools/test.sh'

package=$(mktemp -d)
(cd build && cpack -G DEB -B "$package" >/dev/null 2>&1)
"${sudo[@]}" cp "$package"/zulcalc_*_amd64.deb "$root/tmp/"
rm -rf "$package"
in_chroot bash -c 'apt-get install -y -q ./tmp/zulcalc_*_amd64.deb >/tmp/install.log 2>&1 ||
    { cat /tmp/install.log; exit 1; }'
status=0
in_chroot env QT_QPA_PLATFORM=offscreen timeout 3 zulcalc 2>/dev/null || status=$?
in_chroot apt-get purge -y -q zulcalc >/dev/null 2>&1
[ "$status" -eq 124 ] || { say "the package built here, installed there, ended with $status"; exit 1; }
say "the test command passes, and the package built here installs and starts"
