#!/usr/bin/env bash
# The front page's picture is the one tools/screenshot.sh --front-page makes
# now, pixel for pixel (the PNG's bytes are zlib's and ImageMagick's), where
# the same Qt draws it; under another Qt it skips (exit 77), saying so.
set -euo pipefail
shots=$1 picture=$2
made=$(mktemp --suffix=.png)
trap 'rm -f "$made"' EXIT
ZULCALC_SHOTS=$shots bash "$(dirname "$0")/../../tools/screenshot.sh" --front-page "$made" >/dev/null 2>&1
drawn=$(identify -format %c "$picture") now=$(identify -format %c "$made")
[ "$drawn" = "$now" ] || { echo "skipped: the picture was drawn by $drawn, this is $now"; exit 77; }
differ=$(compare -metric AE "$picture" "$made" null: 2>&1) || true
[ "$differ" = 0 ] ||
    { echo "$differ pixels differ: make it with bash tools/screenshot.sh --front-page, look at it, commit it"; exit 1; }
echo "the front page's picture is the window as $now draws it now"
