#!/usr/bin/env bash
# Checks Qt for Windows and the Windows packaging with a stand-in program
# (packaging/windows/smoke): cross-builds it with the project's Windows rules, runs it under
# Wine on the offscreen platform and, when DISPLAY is set, on the windows platform (with a
# screenshot), then makes its installer and checks a silent install and uninstall.
# Usage: check-windows-qt.sh [QT_PREFIX] [BUILD_DIR]
#   QT_PREFIX defaults to what scripts/build-qt-windows.sh prints (building Qt if needed).
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
qt=${1:-$("$here/scripts/build-qt-windows.sh" | tail -n1)}
build=$(realpath -m "${2:-$here/build-win-smoke}")

export CCACHE_BASEDIR=${CCACHE_BASEDIR:-$here}
nice -n 5 cmake -S "$here/packaging/windows/smoke" -B "$build" -G Ninja \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo -DR470_QT_PREFIX="$qt" \
  -DCMAKE_TOOLCHAIN_FILE="$here/cmake/mingw-w64-x86_64-qt.cmake"
nice -n 5 cmake --build "$build" -j2

# A prefix of its own; Wine links Desktop and Documents to $HOME, which stays untouched.
export WINEPREFIX=$build/wineprefix WINEDEBUG=-all
if [ ! -d "$WINEPREFIX/drive_c" ]; then
  wineboot -i >/dev/null 2>&1
  wineserver -w
  for link in "$WINEPREFIX/drive_c/users/$(id -un)"/*; do
    if [ -L "$link" ]; then rm "$link" && mkdir "$link"; fi
  done
fi

failures=0
expect() { # expect REPORT KEY VALUE
  local got
  got=$(sed -n "s/^$2=//p" "$1" 2>/dev/null | tr -d '\r')
  if [ "$got" = "$3" ]; then
    echo "ok:   $(basename "$1" .txt): $2=$3"
  else
    echo "FAIL: $(basename "$1" .txt): $2 is \"$got\", expected \"$3\""
    failures=$((failures + 1))
  fi
}

# Wine passes no QT_* variable from Linux: the platform is set in the prefix's environment.
report=$build/offscreen.txt
rm -f "$report"
wine reg add 'HKCU\Environment' /v QT_QPA_PLATFORM /d offscreen /f >/dev/null
wine "$build/r470.exe" "Z:$report" 200 || true
wine reg delete 'HKCU\Environment' /v QT_QPA_PLATFORM /f >/dev/null
expect "$report" platform offscreen
expect "$report" png true
expect "$report" bmp true

if [ -n "${DISPLAY:-}" ]; then
  report=$build/windows.txt
  rm -f "$report"
  wine "$build/r470.exe" "Z:$report" 8000 &
  runner=$!
  sleep 6
  if command -v import >/dev/null; then
    import -window root "$build/windows-platform.png" && echo "screenshot: $build/windows-platform.png"
  fi
  wait "$runner" || true
  expect "$report" platform windows
  expect "$report" style windowsvista
else
  echo "DISPLAY not set: the windows platform is not checked."
fi

nice -n 5 cmake --build "$build" --target installer
setup=$(ls "$build"/r470-*-win64-setup.exe)
version=${setup##*/r470-}
version=${version%-win64-setup.exe}
"$here/scripts/check-windows-installer.sh" "$setup" "$build/win/stage" "$version" ||
  failures=$((failures + 1))

wineserver -k 2>/dev/null || true
if [ "$failures" -gt 0 ]; then
  echo "$failures Qt for Windows check(s) failed." >&2
  exit 1
fi
echo "Qt for Windows checks passed."
