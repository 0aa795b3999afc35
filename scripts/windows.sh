#!/usr/bin/env bash
# The Windows program: Qt for Windows (built once per machine, see build-qt-windows.sh),
# then r470.exe, tdrtool.exe, every test that runs under Wine (the core tests, the window
# tests on the offscreen platform, tdrtool.exe against the Linux tdrtool), and the setup
# file build-win/r470-VERSION-win64-setup.exe, installed and uninstalled in a fresh prefix.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh --windows

BUILD=${BUILD:-build}
BUILD_WIN=${BUILD_WIN:-build-win}
JOBS=${JOBS:-$(nproc)}
toolchain=cmake/mingw-w64-x86_64-qt.cmake

qt=$(scripts/build-qt-windows.sh | tail -n1)
[ -f "$qt/bin/Qt6Core.dll" ] || { echo "No Qt for Windows in $qt" >&2; exit 1; }
# The cable archive's SQLite, from Debian's source of the host's version.
sqlite=$(scripts/build-sqlite-windows.sh | tail -n1)
[ -f "$sqlite/lib/libsqlite3.a" ] || { echo "No SQLite for Windows in $sqlite" >&2; exit 1; }

# A tree configured for another toolchain (an older Qt-less build-win/) starts afresh.
if [ -f "$BUILD_WIN/CMakeCache.txt" ] && ! grep -q "R470_QT_PREFIX:.*=$qt\$" "$BUILD_WIN/CMakeCache.txt"; then
  echo "Reconfiguring $BUILD_WIN for Qt in $qt"
  rm -rf "$BUILD_WIN"
fi
cmake -S . -B "$BUILD_WIN" -G Ninja -DCMAKE_TOOLCHAIN_FILE=$toolchain -DR470_QT_PREFIX="$qt" \
  -DR470_SQLITE_PREFIX="$sqlite" \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo -DR470_WERROR=ON -DR470_BENCH=OFF \
  -DR470_HOST_TDRTOOL="$PWD/$BUILD/tdrtool"
cmake --build "$BUILD_WIN" -j "$JOBS"

# Window tests draw offscreen; that platform reads its fonts from one folder, here Liberation
# (Arial's metrics), which Wine reaches as drive Z:.
export WINEPREFIX="$PWD/$BUILD_WIN/wineprefix"
R470_WINE_ENV='QT_QPA_PLATFORM=offscreen QT_QPA_FONTDIR=Z:\usr\share\fonts\truetype\liberation'
. scripts/wine-prefix.sh
(cd "$BUILD_WIN" && ctest --output-on-failure -j "$JOBS")

cmake --build "$BUILD_WIN" --target installer
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$BUILD_WIN/CMakeCache.txt")
setup=$BUILD_WIN/r470-$version-win64-setup.exe
wineserver -k 2>/dev/null || true
scripts/check-windows-installer.sh "$setup" "$BUILD_WIN/win/stage" "$version"
echo "Windows setup file: $setup ($(du -h "$setup" | cut -f1))"
