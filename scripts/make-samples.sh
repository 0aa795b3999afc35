#!/bin/sh
# Remakes the waveform files in samples/ from fixed options, byte for byte.
# Usage: scripts/make-samples.sh [TDRTOOL] [OUTDIR]
#   TDRTOOL defaults to build/tdrtool, OUTDIR to samples/ (both under the repository).
set -eu

root=$(cd "$(dirname "$0")/.." && pwd)
tool=${1:-$root/build/tdrtool}
out=${2:-$root/samples}

if [ ! -x "$tool" ]; then
    echo "make-samples.sh: no tdrtool at $tool (build it first or pass its path)" >&2
    exit 2
fi
mkdir -p "$out"

synth() {
    name=$1
    shift
    "$tool" synth --out "$out/$name" "$@"
}

# FEEDER1 and FEEDER2 share gain, pulse width, interval and dielectric so they overlay
# cleanly; their faults are 40 ns apart.
synth FEEDER1.KEL --mem 1 --cable-id "FEEDER 1" --fault open --fault-at 600 --seed 1
synth FEEDER2.KEL --mem 2 --cable-id "FEEDER 2" --fault open --fault-at 640 --seed 2
# A longer run: twice the interval and pulse width to reach 1200 ns.
synth SHORT.KEL --mem 3 --cable-id "PUMP HOUSE" --fault short --fault-at 1200 \
    --interval-ps 1000 --pulse-width 20 --seed 3
synth GAIN5.KEL --mem 4 --cable-id "FEEDER 3" --gain 5 --fault open --fault-at 450 --seed 4
synth PE700.KEL --mem 5 --cable-id "PE LINE 7" --diel 700 --fault open --fault-at 800 --seed 5
