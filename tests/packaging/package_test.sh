#!/usr/bin/env bash
# Builds the Debian package from a finished build tree, checks what it holds, unpacks it
# into a scratch folder (never installing it) and runs the unpacked tools; then checks that
# `cmake --install` gives the same layout under another prefix.
# Usage: package_test.sh BUILD_DIR
set -euo pipefail
build=$(cd "$1" && pwd)
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

cpack -G DEB -B "$scratch/pkg" --config "$build/CPackConfig.cmake" >"$scratch/cpack.log" 2>&1 ||
  { cat "$scratch/cpack.log"; fail "cpack"; }
deb=$(ls "$scratch"/pkg/r470_*_*.deb)
[ "$(dpkg-deb -f "$deb" Package)" = r470 ] || fail "package name"
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
[ "$(dpkg-deb -f "$deb" Version)" = "$version" ] || fail "version is not the project's ($version)"
depends=$(dpkg-deb -f "$deb" Depends)
for d in libqt6widgets6 libc6 qt6-qpa-plugins fonts-liberation; do
  [[ $depends == *"$d"* ]] || fail "Depends lacks $d: $depends"
done

expected=(
  usr/bin/r470 usr/bin/tdrtool
  usr/share/applications/r470.desktop
  usr/share/icons/hicolor/scalable/apps/r470.svg
  usr/share/icons/hicolor/48x48/apps/r470.png
  usr/share/icons/hicolor/256x256/apps/r470.png
  usr/share/man/man1/r470.1.gz usr/share/man/man1/tdrtool.1.gz
  usr/share/r470/samples/FEEDER1.KEL
  usr/share/doc/r470/copyright usr/share/doc/r470/changelog.gz
)
list=$(dpkg-deb -c "$deb" | awk '{print $6}' | sed 's|^\./||')
for f in "${expected[@]}"; do
  grep -qx "$f" <<<"$list" || fail "package lacks $f"
done
# Nothing outside /usr, and no build-tree leftovers.
if grep -v '^usr/' <<<"$list" | grep -q .; then fail "files outside /usr"; fi

root=$scratch/root
dpkg-deb -x "$deb" "$root"
help=$("$root/usr/bin/tdrtool" --help) || fail "tdrtool --help"
grep -q "info" <<<"$help" || fail "tdrtool --help lists no info command"
info=$("$root/usr/bin/tdrtool" info "$root/usr/share/r470/samples/FEEDER1.KEL") ||
  fail "tdrtool info on the installed sample"
grep -q '^state: 0$' <<<"$info" || fail "installed sample did not load: $info"

desktop-file-validate "$root/usr/share/applications/r470.desktop" || fail "desktop entry"
grep -qx 'Exec=r470' "$root/usr/share/applications/r470.desktop" || fail "desktop Exec"

for page in r470 tdrtool; do
  man_out=$(man --warnings -l "$root/usr/share/man/man1/$page.1.gz" 2>"$scratch/man.err")
  [ ! -s "$scratch/man.err" ] || { cat "$scratch/man.err"; fail "man warnings in $page.1"; }
  grep -q dialout <<<"$man_out" || fail "$page.1 does not say how to reach serial ports"
  grep -q /usr/share/r470/samples <<<"$man_out" || fail "$page.1 does not name the samples"
done
# tdrtool's page lists every subcommand the binary has.
man_tdrtool=$(man -l "$root/usr/share/man/man1/tdrtool.1.gz" 2>/dev/null)
for c in $("$root/usr/bin/tdrtool" --help | sed -n 's/^  \([a-z][a-z-]*\) .*/\1/p'); do
  grep -q "^   $c\$" <<<"$man_tdrtool" || fail "tdrtool.1 lacks the command $c"
done

lintian --no-tag-display-limit "$deb" >"$scratch/lintian.log" 2>&1 || true
if grep -q '^E:' "$scratch/lintian.log"; then cat "$scratch/lintian.log"; fail "lintian errors"; fi

prefix=$scratch/prefix
cmake --install "$build" --prefix "$prefix" >/dev/null || fail "cmake --install"
for f in "${expected[@]}"; do
  [ -e "$prefix/${f#usr/}" ] || fail "cmake --install lacks ${f#usr/}"
done
"$prefix/bin/tdrtool" info "$prefix/share/r470/samples/SHORT.KEL" >/dev/null ||
  fail "tdrtool from the prefix"
echo "package ok: $(basename "$deb")"
