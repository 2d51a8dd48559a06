#!/usr/bin/env bash
# Builds the Debian package from the build folder, unpacks it into a scratch
# root and checks what a desktop needs: the files, a valid menu entry and
# AppStream metadata, dependencies on no font, and a program that starts;
# and that it packs to the same bytes again and names no folder of the build.
set -euo pipefail
build=$1
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT

(cd "$build" && cpack -G DEB -B "$root/out" >/dev/null 2>&1)
deb=$(ls "$root"/out/zulcalc_*_amd64.deb)
dpkg -x "$deb" "$root/fs"
# Packed again meanwhile, a second later, elsewhere, in another locale.
(sleep 1 && cd "$build" && LC_ALL=C cpack -G DEB -B "$root/again" >/dev/null 2>&1) &
again=$!
# No file names the build's folders (a sanitizer build does, for its reports).
grep -q '^ZULCALC_SANITIZE:BOOL=ON' "$build/CMakeCache.txt" ||
    ! grep -rlF -e "$(realpath "$build")" -e "$(realpath "$(dirname "$0")/../..")" "$root/fs" ||
    { echo "these name the build's folders"; exit 1; }
# Every file the package holds, and no other (package.files beside this).
diff -u "$(dirname "$0")/package.files" <(cd "$root/fs" && find . -type f | sort)
entry=$root/fs/usr/share/applications/org.example.zulcalc.desktop
[ "$(grep -E '^(Name|Exec|StartupWMClass|Categories)=' "$entry")" = $'Name=Расчет ЗУЛ\nExec=zulcalc\nStartupWMClass=org.example.zulcalc\nCategories=Science;Engineering;' ]
# No error and no warning, from either validator: each finding is printed.
findings=$(desktop-file-validate "$entry" 2>&1) && [ -z "$findings" ] &&
    findings=$(appstreamcli validate --no-net "$root"/fs/usr/share/metainfo/*.metainfo.xml 2>&1) ||
    { echo "$findings"; exit 1; }
depends=$(dpkg-deb -f "$deb" Depends)
[[ $depends == *libqt6widgets6* && $depends != *font* ]] || { echo "Depends: $depends"; exit 1; }
# Still running after two seconds: it started and waits for the user.
status=0
QT_QPA_PLATFORM=offscreen timeout 2 "$root/fs/usr/bin/zulcalc" 2>/dev/null || status=$?
[ "$status" -eq 124 ] || { echo "the installed program ended with $status"; exit 1; }
# The same bytes (the dates are the commit's), or what differs is listed.
listing() { dpkg-deb --fsys-tarfile "$1" | tar -tv --full-time && dpkg-deb -I "$1" control md5sums; }
wait "$again"
cmp "$deb" "$root"/again/*.deb || { diff <(listing "$deb") <(listing "$root"/again/*.deb); exit 1; }
echo "package $(basename "$deb") unpacks, validates, starts and packs again to the same bytes"
