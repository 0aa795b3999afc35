#!/usr/bin/env bash
# Builds Qt 6 for 64-bit Windows (mingw-w64) from Debian's own qt6-base source, of exactly
# the host Qt's version, so the host's moc, rcc and uic fit the target libraries. Only what
# the window program and its tests need: Core, Gui, Widgets, PrintSupport, Test, the
# windows and offscreen platform plugins and the windowsvista style.
#
# The result goes to a cache outside the checkout, named by the Qt version and a hash of the
# settings, with a stamp written last: a second run finds the stamp and only prints the path.
# Usage: build-qt-windows.sh   (the last line of output is the install prefix)
# Environment: R470_QT_JOBS (default 2), R470_QT_NICE (default 15),
#              R470_KEEP_QT_BUILD=1 keeps the build tree after a successful install.
set -euo pipefail

here=$(cd "$(dirname "$0")/.." && pwd)
toolchain=$here/cmake/mingw-w64-x86_64.cmake
jobs=${R470_QT_JOBS:-2}
niceness=${R470_QT_NICE:-15}
cache_root=${XDG_CACHE_HOME:-$HOME/.cache}/r470
triplet=x86_64-w64-mingw32

. "$(dirname "$0")/deb-source.sh"

# Every package the build needs; the host Qt and its tools must come from one source version.
packages=(g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 cmake ninja-build perl
  dpkg-dev qt6-base-dev qt6-base-dev-tools)
missing=()
for p in "${packages[@]}"; do installed "$p" || missing+=("$p"); done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  "${sudo[@]}" apt-get update -qq
  "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

deb_version=$(version_of qt6-base-dev)
tools_version=$(version_of qt6-base-dev-tools)
if [ "$deb_version" != "$tools_version" ]; then
  echo "qt6-base-dev ($deb_version) and qt6-base-dev-tools ($tools_version) differ;" \
    "install both of one version." >&2
  exit 1
fi
qt_version=${deb_version#*:}
qt_version=${qt_version%%[+~-]*}

# The configuration; its hash names the install folder, so changed settings never reuse an
# older build. Of the toolchain file only the lines that choose the compiler and its flags
# count: the emulator or search paths do not change the libraries. FreeType is bundled so the offscreen plugin exists for the window tests;
# direct2d and desktop OpenGL stay on because PrintSupport and the windows plugin link
# against them; Debian's cleaned source lacks the tablet headers.
qt_settings=(
  -DCMAKE_BUILD_TYPE=Release
  -DBUILD_SHARED_LIBS=ON
  -DQT_BUILD_EXAMPLES=OFF
  -DQT_BUILD_TESTS=OFF
  -DQT_BUILD_BENCHMARKS=OFF
  -DQT_BUILD_MANUAL_TESTS=OFF
  -DQT_HOST_PATH=/usr
  -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake
  -DFEATURE_tabletevent=OFF
  -DFEATURE_dynamicgl=OFF
  -DFEATURE_direct2d=ON
  -DFEATURE_opengl=ON
  -DFEATURE_freetype=ON
  -DFEATURE_system_freetype=OFF
  -DFEATURE_fontconfig=OFF
  -DFEATURE_harfbuzz=ON
  -DFEATURE_system_harfbuzz=OFF
  -DFEATURE_png=ON
  -DFEATURE_system_png=OFF
  -DFEATURE_system_zlib=OFF
  -DFEATURE_system_pcre2=OFF
  -DFEATURE_jpeg=OFF
  -DFEATURE_gif=OFF
  -DFEATURE_ico=OFF
  -DFEATURE_sql=OFF
  -DFEATURE_network=OFF
  -DFEATURE_dbus=OFF
  -DFEATURE_xml=OFF
  -DFEATURE_concurrent=OFF
  -DFEATURE_vulkan=OFF
  -DFEATURE_testlib=ON
  -DFEATURE_printsupport=ON
  -DFEATURE_widgets=ON
  -DFEATURE_style_windowsvista=ON
)
settings_hash=$({
  printf '%s\n' "$deb_version" "${qt_settings[@]}"
  version_of g++-mingw-w64-x86-64-posix
  version_of mingw-w64-x86-64-dev
  grep -E '^ *set\((R470_MINGW_PREFIX|CMAKE_SYSTEM_[A-Z]*|CMAKE_[A-Z]*_COMPILER|CMAKE_[A-Z_]*FLAGS[A-Z_]*) ' \
    "$toolchain"
} | sha256sum | cut -c1-10)
name=qt-$qt_version-$settings_hash
prefix=$cache_root/$name
stamp=$prefix/.r470-qt-built

if [ -f "$stamp" ]; then
  echo "Qt $qt_version for Windows is already built."
  echo "$prefix"
  exit 0
fi

# Two builds into one folder at once would overwrite each other's files: a second one waits
# for the first (its own make windows, another checkout's), then finds the stamp.
mkdir -p "$cache_root"
exec 9>"$cache_root/$name.lock"
if ! flock -n 9; then
  echo "Another build of Qt for Windows is writing $prefix; waiting for it to end."
  flock 9
fi
if [ -f "$stamp" ]; then
  echo "Qt $qt_version for Windows is already built."
  echo "$prefix"
  exit 0
fi

work=$cache_root/work-$name
mkdir -p "$work"
started=$(date +%s)

src=$work/qt6-base-src
if [ ! -f "$src/.r470-unpacked" ]; then
  if ! has_deb_src; then
    echo "Adding deb-src entries for the Debian archive."
    add_deb_src
  fi
  "${sudo[@]}" apt-get update -qq
  rm -rf "$work/fetch" "$src"
  mkdir -p "$work/fetch"
  # Unpacked by apt-get itself (dpkg-source), without the build dependencies.
  (cd "$work/fetch" && apt-get source -qq "qt6-base=$deb_version")
  unpacked=$(find "$work/fetch" -mindepth 1 -maxdepth 1 -type d -name 'qt6-base-*' | head -n1)
  [ -n "$unpacked" ] || { echo "apt-get source left no qt6-base folder." >&2; exit 1; }
  mv "$unpacked" "$src"
  rm -rf "$work/fetch"
  touch "$src/.r470-unpacked"
fi

build=$work/build
mkdir -p "$build"
log_time() { echo "$1: $(($(date +%s) - $2)) s"; }

t=$(date +%s)
nice -n "$niceness" cmake -S "$src" -B "$build" -G Ninja \
  -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
  -DCMAKE_INSTALL_PREFIX="$prefix" \
  "${qt_settings[@]}"
log_time "Qt configure" "$t"

t=$(date +%s)
nice -n "$niceness" cmake --build "$build" --parallel "$jobs"
log_time "Qt build" "$t"

rm -rf "$prefix"
nice -n "$niceness" cmake --install "$build"
# What the window program needs beside it from the mingw runtime, for the deploy step.
for dll in libstdc++-6.dll libgcc_s_seh-1.dll libwinpthread-1.dll; do
  found=$("$triplet-g++-posix" -print-file-name="$dll")
  if [ "$found" = "$dll" ]; then
    found=$(find /usr/lib/gcc/$triplet /usr/$triplet/lib -name "$dll" -path '*posix*' 2>/dev/null |
      head -n1)
    [ -n "$found" ] || found=$(find /usr/$triplet/lib -name "$dll" 2>/dev/null | head -n1)
  fi
  [ -n "$found" ] && [ -f "$found" ] && cp "$found" "$prefix/bin/"
done

size=$(du -sh "$prefix" | cut -f1)
{
  echo "qt6-base $deb_version for $triplet"
  printf '%s\n' "${qt_settings[@]}"
  echo "built $(date -u +%Y-%m-%dT%H:%M:%SZ) in $(($(date +%s) - started)) s, installed $size"
} >"$stamp.tmp"
mv "$stamp.tmp" "$stamp"
[ "${R470_KEEP_QT_BUILD:-0}" = 1 ] || rm -rf "$work"
echo "Qt $qt_version for Windows installed ($size) in:"
echo "$prefix"
