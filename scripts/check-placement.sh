#!/bin/sh
# Checks under a real window manager that the main window comes back where it was closed:
# start, move, close, start again (twice), and compare the stored placement each time.
# Needs Xvfb, openbox and xdotool. Usage: scripts/check-placement.sh [BUILD_DIR] [DISPLAY_NO]
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
disp=:${2:-93}
work=$(mktemp -d)
trap 'kill $wm $xvfb 2>/dev/null; rm -rf "$work"' EXIT
cp "$build/r470" "$work/"
Xvfb "$disp" -screen 0 1280x1024x24 >/dev/null 2>&1 & xvfb=$!
sleep 1
DISPLAY=$disp openbox >/dev/null 2>&1 & wm=$!
sleep 1
export DISPLAY=$disp HOME=$work XDG_CONFIG_HOME=$work/cfg
cycle() {
    (cd "$root/samples" && exec "$work/r470") >/dev/null 2>&1 & app=$!
    w=$(xdotool search --sync --name "R470 3.04" | head -1)
    sleep 1
    if [ $# -gt 0 ]; then xdotool windowmove "$w" "$1" "$2"; sleep 1; fi
    xdotool windowactivate --sync "$w" key alt+F4
    wait $app || true
    od -An -t d2 -j 8 -N 8 "$work/r470.SET" | tr -s ' '
}
first=$(cycle 200 150)
second=$(cycle)
third=$(cycle)
echo "stored: $first / $second / $third"
[ "$first" = "$second" ] && [ "$second" = "$third" ] || { echo "placement drifts"; exit 1; }
echo "placement kept"
