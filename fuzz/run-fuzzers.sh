#!/bin/sh
# SPDX-FileCopyrightText: MOXAN
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the libFuzzer programs with clang (ZEVRA_FUZZ, with address and
# undefined-behaviour sanitizers) and runs each for a while, starting from the
# committed seed corpus. Not part of the test command: ctest replays the
# committed corpus in every build.
#
#   fuzz/run-fuzzers.sh [SECONDS]     (default 60 seconds per target)
#
# The build, the grown corpora and any crash reproducers go to
# $ZEVRA_FUZZ_DIR (default: build-fuzz beside the sources). A reproducer that
# shows a fault belongs, once the fault is mended, in fuzz/corpus/<target>/.
set -eu

ROOT=$(cd "$(dirname "$0")/.." && pwd)
OUT=${ZEVRA_FUZZ_DIR:-$ROOT/build-fuzz}
SECONDS_PER_TARGET=${1:-60}
TARGETS="batch_line keyvalue"

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
    if ! "$OUT/bin/fuzz_$target" -max_total_time="$SECONDS_PER_TARGET" -max_len=8192 -timeout=10 \
            -rss_limit_mb=2048 -print_final_stats=1 -artifact_prefix="$OUT/crashes_$target/" \
            "$OUT/corpus_$target" "$ROOT/fuzz/corpus/$target"; then
        echo "fuzz_$target found a problem; reproducers in $OUT/crashes_$target"
        status=1
    fi
done
exit $status
