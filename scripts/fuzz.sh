#!/bin/sh
# Builds the libFuzzer targets with clang and runs each for a while, the committed samples
# and fuzz/seeds/ serving as the starting corpus.
# Usage: scripts/fuzz.sh [SECONDS] [TARGET...]
#   SECONDS per target, default 60; TARGET is trace_file, settings, ini, import, receive
#   or cables
#   (default: all).
#   The build goes to $R470_FUZZ_BUILD (default build-fuzz); inputs that crash are saved
#   there under artifacts/, the grown corpus under corpus/.
set -eu

root=$(cd "$(dirname "$0")/.." && pwd)
secs=${1:-60}
[ $# -gt 0 ] && shift
targets=${*:-trace_file settings ini import receive cables}
build=${R470_FUZZ_BUILD:-$root/build-fuzz}

CC=clang CXX=clang++ cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DR470_GUI=OFF -DR470_TESTS=OFF -DR470_BENCH=OFF -DR470_FUZZ=ON >/dev/null
for t in $targets; do
    ninja -C "$build" "fuzz_$t" >/dev/null
done

status=0
for t in $targets; do
    case $t in
    trace_file) seeds=$root/samples ;;
    *) seeds=$root/fuzz/seeds/$t ;;
    esac
    dict=
    [ -f "$root/fuzz/$t.dict" ] && dict=-dict=$root/fuzz/$t.dict
    mkdir -p "$build/corpus/$t" "$build/artifacts"
    echo "== fuzz_$t for $secs s"
    # The first directory receives new inputs; the seeds are only read.
    "$build/fuzz/fuzz_$t" -max_total_time="$secs" -print_final_stats=1 \
        -artifact_prefix="$build/artifacts/$t-" $dict "$build/corpus/$t" "$seeds" ||
        status=1
done
exit $status
