#!/usr/bin/env bash
# Runs one QtTest program under Wine: its report goes to a file, shown here afterwards, and
# its exit code (the number of failures) is the result.
# Usage: qtest.sh EMULATOR TEST.exe
emulator=$1
program=$2
log=$(mktemp "${TMPDIR:-/tmp}/qtest-XXXXXX.txt")
trap 'rm -f "$log"' EXIT
"$emulator" "$program" -o "$log,txt" </dev/null
rc=$?
tr -d '\r' <"$log"
exit $rc
