#!/usr/bin/env bash
# Cross-builds the core library, tdrtool.exe and the core tests for 64-bit Windows and runs
# the tests under Wine, in a Wine prefix of the project's own (never ~/.wine) with one Wine
# server for the whole run.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh --windows

BUILD=${BUILD:-build}
BUILD_WIN=${BUILD_WIN:-build-win}
JOBS=${JOBS:-$(nproc)}
export WINEPREFIX="$PWD/$BUILD_WIN/wineprefix"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=" # no offer to install .NET or a browser engine

cmake -S . -B "$BUILD_WIN" -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo -DR470_WERROR=ON -DR470_GUI=OFF -DR470_BENCH=OFF \
  -DR470_HOST_TDRTOOL="$PWD/$BUILD/tdrtool"
cmake --build "$BUILD_WIN" -j "$JOBS"

if [ ! -f "$WINEPREFIX/system.reg" ]; then
  echo "Making the Wine prefix $WINEPREFIX"
  wineboot --init >/dev/null 2>&1 </dev/null || true
fi
# One Wine server for the whole run. The prefix's own services start with the first program
# and keep its output open: started here, they hold nothing a test's output goes through.
wine cmd /c exit >/dev/null 2>&1 </dev/null || true
wineserver -p || echo "No persistent Wine server: every test starts its own"
trap 'wineserver -k 2>/dev/null || true' EXIT
cd "$BUILD_WIN"
ctest --output-on-failure -j "$JOBS"
