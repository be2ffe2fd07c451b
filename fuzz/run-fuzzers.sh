#!/bin/sh
# SPDX-FileCopyrightText: MOXAN
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the libFuzzer programs with clang (ZEVRA_FUZZ, with address and
# undefined-behaviour sanitizers) and runs each for a while, one after the
# other, starting from the committed seed corpus. Not part of the test
# command: ctest replays the committed corpus in every build.
#
#   fuzz/run-fuzzers.sh [SECONDS [TARGET...]]   (default 60 seconds, every target)
#
# The build, the grown corpora, the logs and any crash reproducers go to
# $ZEVRA_FUZZ_DIR (default: build-fuzz beside the sources). A reproducer that
# shows a fault belongs, once the fault is mended, in fuzz/corpus/<target>/.
# Each run ends with a line "<target>: N inputs, M per second, ..." taken from
# libFuzzer's final statistics. $ZEVRA_FUZZ_FLAGS adds libFuzzer options
# (say "-fork=1 -ignore_crashes=1" to go on past a known fault).
#
# The inputs are kept short (a batch file of a few dozen lines, a few
# arguments): the faults sit in how lines, values and texts meet, and a
# short input runs many times faster. The sanitizers keep no allocation
# stacks and a smaller quarantine, which halves their cost per input; a
# reproducer is replayed with full reports anyway.
set -eu

ROOT=$(cd "$(dirname "$0")/.." && pwd)
OUT=${ZEVRA_FUZZ_DIR:-$ROOT/build-fuzz}
SECONDS_PER_TARGET=${1:-60}
[ $# -gt 0 ] && shift
TARGETS=${*:-"batch_line keyvalue batch_file reference_data json workbook markup_rtf cli_args"}

cmake -S "$ROOT" -B "$OUT" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_CXX_COMPILER="${CXX_FUZZ:-clang++}" -DZEVRA_FUZZ=ON -DZEVRA_SANITIZE=ON \
  -DZEVRA_BUILD_UI=OFF -DZEVRA_BUILD_TESTS=OFF -DZEVRA_BUILD_BENCH=OFF >/dev/null
for target in $TARGETS; do
    cmake --build "$OUT" -j2 --target "fuzz_$target"
done

status=0
for target in $TARGETS; do
    echo "== running fuzz_$target for $SECONDS_PER_TARGET s"
    # New inputs go to the first folder; the committed corpus is only read.
    mkdir -p "$OUT/corpus_$target" "$OUT/crashes_$target"
    log="$OUT/fuzz_$target.log"
    case $target in
        reference_data) max_len=4096 ;;
        json | workbook | cli_args) max_len=1024 ;;
        *) max_len=2048 ;;
    esac
    # shellcheck disable=SC2086 # the flags are words
    if ! ASAN_OPTIONS=${ASAN_OPTIONS:-malloc_context_size=0:quarantine_size_mb=64} \
            "$OUT/bin/fuzz_$target" -max_total_time="$SECONDS_PER_TARGET" -max_len=$max_len -timeout=10 \
            -rss_limit_mb=2048 -print_final_stats=1 -artifact_prefix="$OUT/crashes_$target/" ${ZEVRA_FUZZ_FLAGS:-} \
            "$OUT/corpus_$target" "$ROOT/fuzz/corpus/$target" >"$log" 2>&1; then
        tail -n 30 "$log"
        echo "fuzz_$target found a problem; reproducers in $OUT/crashes_$target"
        status=1
    fi
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
    speed=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log")
    last=$(grep -E '^#[0-9]+' "$log" | tail -n 1 | sed -n 's/.*\(cov: [0-9]*\).*\(corp: [^ ]*\).*/\1 \2/p')
    echo "$target: ${runs:-?} inputs, ${speed:-?} per second, $last"
done
exit $status
