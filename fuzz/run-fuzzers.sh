#!/bin/sh
# Builds the libFuzzer targets with clang (address and undefined-behaviour
# sanitizers) and runs each for a while. Not part of the test command.
#
#   fuzz/run-fuzzers.sh [SECONDS]     (default 60 seconds per target)
#
# Build output, corpora and any crash reproducers go to $ZEVRA_FUZZ_DIR
# (default: build-fuzz beside the sources).
set -eu

ROOT=$(cd "$(dirname "$0")/.." && pwd)
OUT=${ZEVRA_FUZZ_DIR:-$ROOT/build-fuzz}
SECONDS_PER_TARGET=${1:-60}
CXX=${CXX_FUZZ:-clang++}

mkdir -p "$OUT"
CORE="$ROOT/src/model/*.cpp $ROOT/src/batch/core/*.cpp"
FLAGS="-std=c++20 -g -O1 -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined
       -I$ROOT/src -DZEVRA_VERSION_TEXT=\"fuzz\" -DZEVRA_FUZZ_DATA_DIR=\"$ROOT/src/data\""

for target in batch_line keyvalue; do
    echo "== building fuzz_$target"
    # shellcheck disable=SC2086
    $CXX $FLAGS "$ROOT/fuzz/fuzz_$target.cpp" $CORE -o "$OUT/fuzz_$target"
done

# Seeds: the shipped examples (a batch file per line as well as whole).
mkdir -p "$OUT/corpus_batch_line" "$OUT/corpus_keyvalue"
for f in "$ROOT"/examples/*.csv; do
    [ -f "$f" ] && cp "$f" "$OUT/corpus_batch_line/"
done
for f in "$ROOT"/examples/*.txt "$ROOT"/src/data/OWeights.txt "$ROOT"/src/data/Regions.txt; do
    [ -f "$f" ] && cp "$f" "$OUT/corpus_keyvalue/"
done

status=0
for target in batch_line keyvalue; do
    echo "== running fuzz_$target for $SECONDS_PER_TARGET s"
    mkdir -p "$OUT/crashes_$target"
    if ! "$OUT/fuzz_$target" -max_total_time="$SECONDS_PER_TARGET" -max_len=8192 -timeout=10 -rss_limit_mb=2048 \
            -print_final_stats=1 -artifact_prefix="$OUT/crashes_$target/" "$OUT/corpus_$target"; then
        echo "fuzz_$target found a problem; reproducers in $OUT/crashes_$target"
        status=1
    fi
done
exit $status
