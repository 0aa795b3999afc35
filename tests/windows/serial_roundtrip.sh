#!/usr/bin/env bash
# The serial link end to end under Wine: the Linux simulated instrument on a pseudo-terminal,
# which the Wine prefix maps to COM5; tdrtool.exe receives a whole transmission and sends
# memories back. Everything must equal what the Linux tdrtool gets and sends.
# Usage: serial_roundtrip.sh LINUX_TDRTOOL WINDOWS_TDRTOOL SAMPLES_DIR (WINEPREFIX set)
set -uo pipefail
linux=$1 windows=$2 samples=$3
: "${WINEPREFIX:?set WINEPREFIX to a prefix of this project}"
work=$(mktemp -d)
pids=()
cleanup() {
    for p in "${pids[@]}"; do kill "$p" 2>/dev/null; done
    rm -f "$WINEPREFIX/dosdevices/com5"
    rm -rf "$work"
}
trap cleanup EXIT
cd "$work"
failed=0 checked=0
check() { # NAME CONDITION...
    local name=$1
    shift
    checked=$((checked + 1))
    if "$@"; then echo "ok: $name"; else echo "FAILED: $name"; failed=$((failed + 1)); fi
}

# An instrument on a new pseudo-terminal: its path is the first line it prints.
instrument() { # OUTFILE ARGS...
    local out=$1
    shift
    "$linux" instrument --pty "$@" >"$out" 2>/dev/null &
    pids+=($!)
    for _ in $(seq 100); do
        [ -s "$out" ] && break
        sleep 0.1
    done
    head -1 "$out"
}

mkdir mem
cp "$samples/FEEDER1.KEL" mem/MEM03.KEL
cp "$samples/SHORT.KEL" mem/MEM11.KEL

# Receive: the same memories sent twice, once to each program.
pty=$(instrument linux-inst.txt --memories mem --send 1-48 --fast)
"$linux" receive --device "$pty" --out linux.dat --timeout 60 >linux-rec.txt 2>&1
pty=$(instrument windows-inst.txt --memories mem --send 1-48 --fast)
ln -sf "$pty" "$WINEPREFIX/dosdevices/com5"
wine "$windows" ports --json >ports.json 2>/dev/null
wine "$windows" receive --port 5 --out windows.dat --timeout 60 >windows-rec.txt 2>&1 </dev/null
check "COM5 is listed and usable" grep -q '"number": 5,.*"usable": true' ports.json
check "received $(stat -c %s linux.dat 2>/dev/null) bytes as Linux did" cmp -s linux.dat windows.dat

# Send: what reaches the instrument is stored as MEMnn.KEL; both programs' must be equal.
mkdir linux-got windows-got
pty=$(instrument linux-send.txt --memories linux-got --receive)
cp "$samples/FEEDER1.KEL" "$samples/GAIN5.KEL" .
"$linux" send --device "$pty" FEEDER1.KEL:2 GAIN5.KEL:40 >/dev/null 2>&1
sleep 1
pty=$(instrument windows-send.txt --memories windows-got --receive)
ln -sf "$pty" "$WINEPREFIX/dosdevices/com5"
wine "$windows" send --port 5 FEEDER1.KEL:2 GAIN5.KEL:40 >/dev/null 2>&1 </dev/null
sleep 1
check "sent memories stored" test -s windows-got/MEM02.KEL -a -s windows-got/MEM40.KEL
check "sent memories equal the Linux send" diff -r linux-got windows-got

# A port held by another program is refused with the program's text.
wine "$windows" receive --port 6 --out none.dat --timeout 1 >held.txt 2>&1 </dev/null
check "a port with no device is refused" grep -q "Cannot open COM port\|Cannot find device" held.txt

# What each side said, so that a failure on a loaded machine can be read afterwards.
if [ $failed -ne 0 ]; then
    for f in *.txt; do
        echo "--- $f"
        tail -5 "$f"
    done
fi
echo "$((checked - failed)) passed, $failed failed"
[ $failed -eq 0 ]
