#!/usr/bin/env bash
# The front page's picture is the one tools/screenshot.sh --front-page makes
# now, pixel for pixel (the PNG's bytes are zlib's and ImageMagick's), where
# the same Qt draws it; under another Qt it skips (exit 77), saying so.
#   bash front_page_picture.sh ZULCALC_SHOTS PICTURE
set -euo pipefail
made=$(mktemp --suffix=.png) && trap 'rm -f "$made"' EXIT
# (no leak report: libdbus leaks at exit in a sanitizer build, not this test's concern)
ASAN_OPTIONS=detect_leaks=0 ZULCALC_SHOTS=$1 bash "$(dirname "$0")/../../tools/screenshot.sh" --front-page "$made" >/dev/null 2>&1
[ "$(identify -format %c "$2")" = "$(identify -format %c "$made")" ] ||
    { echo "skipped: the picture was drawn by $(identify -format %c "$2")" && exit 77; }
differ=$(compare -metric AE "$2" "$made" null: 2>&1) || [ "$differ" = 0 ] ||
    { echo "$differ pixels differ: bash tools/screenshot.sh --front-page, look, commit" && exit 1; }
