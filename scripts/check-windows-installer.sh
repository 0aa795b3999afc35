#!/usr/bin/env bash
# Checks the Windows setup file under Wine in a fresh prefix: a silent install puts every
# staged file in place unchanged, with the Start menu entry, the .KEL association and the
# uninstall entry; the uninstall entry's own quiet command then removes all of it but the
# files a user added (settings, waveforms). An installer's exit code proves nothing (a
# 32-bit one under 64-bit Wine installs nothing and may exit 0), so only results count.
# Usage: check-windows-installer.sh SETUP.exe STAGE_DIR VERSION [--current-user]
set -euo pipefail
setup=$(realpath "$1")
stage=$(realpath "$2")
version=$3
mode=${4:-}

export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
export WINEPREFIX
WINEPREFIX=$(mktemp -d "${TMPDIR:-/tmp}/r470-setup-check.XXXXXX")
trap 'wineserver -k 2>/dev/null || true; rm -rf "$WINEPREFIX"' EXIT

failures=0
check() { # check DESCRIPTION COMMAND...
  local what=$1
  shift
  if "$@"; then echo "ok:   $what"; else echo "FAIL: $what"; failures=$((failures + 1)); fi
}
reg_value() { # reg_value KEY NAME -> the value's data, or nothing; NAME "" is the default
  if [ -z "$2" ]; then
    wine reg query "$1" /ve 2>/dev/null | tr -d '\r' | sed -n 's/^ *(Default) *REG_[A-Z_]* *//p'
  else
    wine reg query "$1" /v "$2" 2>/dev/null | tr -d '\r' | sed -n "s/^ *$2 *REG_[A-Z_]* *//p"
  fi
}
reg_has() { wine reg query "$1" /v "$2" >/dev/null 2>&1; }
reg_lacks() { ! reg_has "$@"; }

wineboot -i >/dev/null 2>&1
wineserver -w
# Wine links the user's Desktop and Documents to $HOME; keep every shortcut in the prefix.
users=$WINEPREFIX/drive_c/users/$(id -un)
for link in "$users"/*; do
  if [ -L "$link" ]; then rm "$link" && mkdir "$link"; fi
done

if [ "$mode" = --current-user ]; then
  wine "$setup" /S /CurrentUser || true
  root=HKCU
  dir=$users/AppData/Local/Programs/R470
  menu=$users/AppData/Roaming/Microsoft/Windows/Start\ Menu/Programs/R470
else
  # Into a folder of the user's choice; the second install (an upgrade) names none and
  # must go there too, not into Program Files beside it.
  wine "$setup" /S '/D=C:\Tools\R470' || true
  wineserver -w
  wine "$setup" /S || true
  root=HKLM
  dir=$WINEPREFIX/drive_c/Tools/R470
  menu=$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start\ Menu/Programs/R470
  check "a second install goes into the first one's folder" \
    test ! -e "$WINEPREFIX/drive_c/Program Files/R470"
fi
wineserver -w
key="$root\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\R470"
if [ "$mode" != --current-user ]; then
  check "one uninstall entry, for that folder" \
    test "$(reg_value "$key" InstallLocation)" = 'C:\Tools\R470'
fi

mapfile -t files < <(cd "$stage" && find . -type f | sed 's|^\./||' | sort)
[ ${#files[@]} -gt 0 ] || { echo "Nothing staged in $stage" >&2; exit 1; }
missing=0
for f in "${files[@]}"; do
  cmp -s "$stage/$f" "$dir/$f" || { echo "  not installed or changed: $f"; missing=$((missing + 1)); }
done
check "all ${#files[@]} staged files installed unchanged" test "$missing" -eq 0
check "uninstaller installed" test -f "$dir/uninstall.exe"
check "Start menu entry" test -f "$menu/R470.lnk"
# The shortcut starts in the program's folder (and so the program in the user's own
# Documents), never in the Documents all users share.
check "no shortcut starts in the Public folder" \
  bash -c '! strings -el "$1" | grep -qi "users.public"' _ "$menu/R470.lnk"
check "uninstall entry's version is $version" test "$(reg_value "$key" DisplayVersion)" = "$version"
for name in DisplayName Publisher DisplayIcon UninstallString; do
  check "uninstall entry has $name" test -n "$(reg_value "$key" "$name")"
done
classes="$root\\Software\\Classes"
check ".KEL offers r470 in Open with" reg_has "$classes\\.KEL\\OpenWithProgids" R470.Waveform
check ".KEL open command runs r470.exe" \
  grep -q 'r470.exe" "%1"' <<<"$(reg_value "$classes\\R470.Waveform\\shell\\open\\command" "")"

if [ "$failures" -gt 0 ]; then
  echo "$failures install check(s) failed; the uninstall is not checked." >&2
  exit 1
fi

# What a user leaves behind must survive the uninstall.
echo "[settings]" >"$dir/user-settings.ini"
echo "a user's waveform" >"$dir/samples/MY-CABLE.KEL"

quiet=$(reg_value "$key" QuietUninstallString)
check "quiet uninstall command given" test -n "$quiet"
uninstaller=$(sed -n 's/^"\([^"]*\)".*/\1/p' <<<"$quiet")
wine "$uninstaller" /S || true
wineserver -w

left=0
for f in "${files[@]}"; do
  [ ! -e "$dir/$f" ] || { echo "  left behind: $f"; left=$((left + 1)); }
done
check "uninstall removed every installed file" test "$left" -eq 0
check "uninstall removed the uninstaller" test ! -e "$dir/uninstall.exe"
check "uninstall removed the Start menu entry" test ! -e "$menu/R470.lnk"
check "uninstall removed the uninstall entry" test -z "$(reg_value "$key" DisplayVersion)"
check "uninstall removed the .KEL handler" \
  test -z "$(reg_value "$classes\\R470.Waveform\\shell\\open\\command" "")"
check "uninstall removed r470 from Open with" \
  reg_lacks "$classes\\.KEL\\OpenWithProgids" R470.Waveform
check "user's settings kept" test -f "$dir/user-settings.ini"
check "user's waveform kept" test -f "$dir/samples/MY-CABLE.KEL"

if [ "$failures" -gt 0 ]; then
  echo "$failures installer check(s) failed." >&2
  exit 1
fi
echo "Installer checks passed."
