#!/usr/bin/env bash
# Installs into a scratch prefix and checks what a desktop needs is there and
# valid: the program, its menu entry, its icon and its AppStream metadata.
set -euo pipefail
build=$1
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT

cmake --install "$build" --prefix "$prefix" >/dev/null
id=org.example.zulcalc
for file in bin/zulcalc share/applications/$id.desktop \
    share/icons/hicolor/scalable/apps/$id.svg share/metainfo/$id.metainfo.xml; do
    [ -e "$prefix/$file" ] || { echo "not installed: $file"; exit 1; }
done
[ -x "$prefix/bin/zulcalc" ] || { echo "bin/zulcalc is not executable"; exit 1; }
grep -q '^Name=Расчет ЗУЛ$' "$prefix/share/applications/$id.desktop"
grep -q '^Categories=.*Engineering;' "$prefix/share/applications/$id.desktop"

checked=0
if command -v desktop-file-validate >/dev/null; then
    desktop-file-validate "$prefix/share/applications/$id.desktop"
    checked=$((checked + 1))
fi
if command -v appstreamcli >/dev/null; then
    appstreamcli validate --no-net "$prefix/share/metainfo/$id.metainfo.xml"
    checked=$((checked + 1))
fi
echo "installed and valid ($checked validators ran)"
