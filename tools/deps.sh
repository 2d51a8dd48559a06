#!/usr/bin/env bash
# Installs the Debian packages that building and running the program need,
# and those named as arguments (the test command adds its own), only those
# that are missing; through sudo unless already root.
set -euo pipefail

packages=(
    cmake g++ make
    qt6-base-dev          # Qt 6 Widgets
    fonts-dejavu-extra    # DejaVu Sans Condensed, the window's font; the tests measure it
    qt6-translations-l10n # Qt's own texts in Russian (qtbase_ru.qm), compiled in
    xdg-utils             # xdg-open and xdg-mime: Печать opens the report in the desktop's editor
    cmark-gfm             # the user guide and the calculation method made into HTML (docs/building.md)
    "$@"
)

missing=()
for package in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$package")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=()
[ "$(id -u)" -ne 0 ] && sudo=(sudo)
echo "Installing: ${missing[*]}"
"${sudo[@]}" apt-get update
"${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends "${missing[@]}"
