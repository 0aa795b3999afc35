#!/usr/bin/env bash
# Starts the window program with its working folder at samples/, so that the first
# "Add waveform" lists the sample waveforms.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD:-build}
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "No display found. Start the program under a virtual display instead:" >&2
  echo "  xvfb-run -a make run" >&2
  exit 1
fi
cd "$top/samples"
exec "$top/$build/r470"
