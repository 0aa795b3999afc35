#!/usr/bin/env bash
# Builds SQLite for 64-bit Windows (mingw-w64) from Debian's own sqlite3 source package, of
# exactly the version of the host's libsqlite3-dev, as a static library for the programs.
#
# The result goes to a cache outside the checkout, named by the version and a hash of the
# settings, with a stamp written last; a lock keeps two builds from meeting. A second run
# finds the stamp and only prints the path.
# Usage: build-sqlite-windows.sh   (the last line of output is the install prefix)
set -euo pipefail

cache_root=${XDG_CACHE_HOME:-$HOME/.cache}/r470
triplet=x86_64-w64-mingw32
cc=$triplet-gcc-posix

. "$(dirname "$0")/deb-source.sh"

# tcl makes the one-file amalgamation from the source tree; the host compiler its tools.
packages=(libsqlite3-dev gcc-mingw-w64-x86-64-posix dpkg-dev tcl gcc make)
missing=()
for p in "${packages[@]}"; do installed "$p" || missing+=("$p"); done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  "${sudo[@]}" apt-get update -qq
  "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

deb_version=$(version_of libsqlite3-dev)
upstream=${deb_version#*:}
upstream=${upstream%%[+~-]*}
# As Debian builds it where it matters to us: threads on, and no extension loading.
cflags=(-O2 -DSQLITE_THREADSAFE=1 -DSQLITE_OMIT_LOAD_EXTENSION=1 -DSQLITE_ENABLE_COLUMN_METADATA=1)
settings_hash=$({
  printf '%s\n' "$deb_version" "${cflags[@]}"
  version_of gcc-mingw-w64-x86-64-posix
  version_of mingw-w64-x86-64-dev
} | sha256sum | cut -c1-10)
name=sqlite-$upstream-$settings_hash
prefix=$cache_root/$name
stamp=$prefix/.r470-sqlite-built

mkdir -p "$cache_root"
exec 9>"$cache_root/$name.lock"
flock 9
if [ -f "$stamp" ]; then
  echo "SQLite $upstream for Windows is already built."
  echo "$prefix"
  exit 0
fi

work=$cache_root/work-$name
rm -rf "$work"
mkdir -p "$work/fetch"
if ! has_deb_src; then
  echo "Adding deb-src entries for the Debian archive."
  add_deb_src
  "${sudo[@]}" apt-get update -qq
fi
(cd "$work/fetch" && apt-get source -qq "sqlite3=$deb_version" ||
  { "${sudo[@]}" apt-get update -qq && apt-get source -qq "sqlite3=$deb_version"; })
src=$(find "$work/fetch" -mindepth 1 -maxdepth 1 -type d -name 'sqlite3-*' | head -n1)
[ -n "$src" ] || { echo "apt-get source left no sqlite3 folder." >&2; exit 1; }

# The amalgamation (sqlite3.c, sqlite3.h) is made on the host, then compiled for Windows.
mkdir -p "$work/host"
(cd "$work/host" && "$src/configure" --disable-tcl >/dev/null && make -s sqlite3.c >/dev/null)
mkdir -p "$work/win"
"$cc" "${cflags[@]}" -c "$work/host/sqlite3.c" -o "$work/win/sqlite3.o"
rm -rf "$prefix"
mkdir -p "$prefix/include" "$prefix/lib"
"$triplet-ar" rcs "$prefix/lib/libsqlite3.a" "$work/win/sqlite3.o"
cp "$work/host/sqlite3.h" "$src/src/sqlite3ext.h" "$prefix/include/" 2>/dev/null ||
  cp "$work/host/sqlite3.h" "$prefix/include/"
{
  echo "sqlite3 $deb_version for $triplet"
  printf '%s\n' "${cflags[@]}"
  echo "built $(date -u +%Y-%m-%dT%H:%M:%SZ)"
} >"$stamp.tmp"
mv "$stamp.tmp" "$stamp"
rm -rf "$work"
echo "SQLite $upstream for Windows installed in:"
echo "$prefix"
