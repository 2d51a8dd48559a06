#!/usr/bin/env bash
# Start-up time and memory of zulcalc against a bare Qt window (one menu
# item, one label) from the same build, started alternately under one Xvfb:
#   bash bench/startup.sh [RUNS] [COMMIT]      (default 40 each)
# Prints the median time from exec to the window being mapped, the median
# peak resident memory, and zulcalc's ratios to the bare window. With a
# commit, zulcalc as it was there is built (in build-startup-COMMIT) and
# started in turn with the others: a change's cost, measured under one load.
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-40}
against=${2:+$(git rev-parse --short "$2")}

bash tools/deps.sh xvfb xauth pkg-config libxcb1-dev
# A new build folder builds the program alone, with no GoogleTest; one the
# test command made keeps its tests.
cmake -S . -B build $([ -f build/CMakeCache.txt ] || echo -DZULCALC_TESTS=OFF) >/dev/null
cmake --build build -j"$(nproc)" --target zulcalc bare_window startup_probe >/dev/null
programs=(bare bare_sized zulcalc)
if [ -n "$against" ]; then
    other=build-startup-$against
    [ -d "$other/src" ] || (mkdir -p "$other/src" && git archive "$against" | tar -x -C "$other/src")
    cmake -S "$other/src" -B "$other" -DZULCALC_TESTS=OFF >/dev/null
    cmake --build "$other" -j"$(nproc)" --target zulcalc >/dev/null
    programs+=(other)
fi

work=$(mktemp -d)
trap 'kill "$xvfb" 2>/dev/null || true; rm -rf "$work"' EXIT
display=:$((100 + RANDOM % 400))
Xvfb "$display" -screen 0 1920x1080x24 -dpi 96 -nolisten tcp -noreset >/dev/null 2>&1 &
xvfb=$!
sleep 1
export DISPLAY=$display
unset QT_QPA_PLATFORM

export XDG_RUNTIME_DIR=$work/runtime
mkdir -m 700 "$XDG_RUNTIME_DIR"

# The bare window twice: at its natural size, and with a client area as large
# as zulcalc's, whose backing store alone (4 bytes a pixel) is 2.6 MiB.
size=1077x611
probe() { build/bench/startup_probe "$@" 2>/dev/null; }
# One unmeasured start of each fills the disk cache.
probe build/window/zulcalc >/dev/null
probe build/bench/bare_window >/dev/null
[ -n "$against" ] && probe "$other/window/zulcalc" >/dev/null
for ((i = 0; i < runs; i++)); do
    probe build/bench/bare_window >>"$work/bare"
    probe build/bench/bare_window "$size" >>"$work/bare_sized"
    probe build/window/zulcalc >>"$work/zulcalc"
    [ -n "$against" ] && probe "$other/window/zulcalc" >>"$work/other"
done

median() { sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
for name in "${programs[@]}"; do
    eval "${name}_ms=$(cut -d' ' -f1 "$work/$name" | median)"
    eval "${name}_kib=$(cut -d' ' -f2 "$work/$name" | median)"
done
printf '%-28s %10s %14s\n' program "start, ms" "peak RSS, KiB"
printf '%-28s %10s %14s\n' "bare window" "$bare_ms" "$bare_kib" \
    "bare window, $size" "$bare_sized_ms" "$bare_sized_kib" zulcalc "$zulcalc_ms" "$zulcalc_kib"
[ -n "$against" ] && printf '%-28s %10s %14s\n' "zulcalc at $against" "$other_ms" "$other_kib"
ratio() { awk -v a="$1" -v b="$2" -v c="$3" -v d="$4" 'BEGIN { printf "%10.3f %14.3f", a / b, c / d }'; }
printf '%-28s %s\n' "zulcalc / bare" "$(ratio "$zulcalc_ms" "$bare_ms" "$zulcalc_kib" "$bare_kib")" \
    "zulcalc / bare, same size" "$(ratio "$zulcalc_ms" "$bare_sized_ms" "$zulcalc_kib" "$bare_sized_kib")"
[ -n "$against" ] && printf '%-28s %s\n' "zulcalc at $against / bare" \
    "$(ratio "$other_ms" "$bare_ms" "$other_kib" "$bare_kib")"
echo "($runs runs each, medians)"
