#!/usr/bin/env bash
# Cross-builds the core library, tdrtool.exe and the core tests for 64-bit Windows (without
# Qt, in build-win-core/) and runs the tests under Wine. `make windows` does this and the
# window program, its tests and the installer, with Qt for Windows.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh --windows

BUILD=${BUILD:-build}
BUILD_WIN=${BUILD_WIN:-build-win-core}
JOBS=${JOBS:-$(nproc)}
export WINEPREFIX="$PWD/$BUILD_WIN/wineprefix"
# The cable archive's SQLite, from Debian's source of the host's version.
sqlite=$(scripts/build-sqlite-windows.sh | tail -n1)

cmake -S . -B "$BUILD_WIN" -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo -DR470_WERROR=ON -DR470_GUI=OFF -DR470_BENCH=OFF \
  -DR470_SQLITE_PREFIX="$sqlite" \
  -DR470_HOST_TDRTOOL="$PWD/$BUILD/tdrtool"
cmake --build "$BUILD_WIN" -j "$JOBS"

. scripts/wine-prefix.sh
cd "$BUILD_WIN"
ctest --output-on-failure -j "$JOBS"
