#!/bin/sh
# SPDX-FileCopyrightText: MOXAN
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the libFuzzer programs with clang (ZEVRA_FUZZ) and runs each for a
# while, one after the other, starting from the committed seed corpus. Not
# part of the test command: ctest replays the committed corpus in every build.
#
#   fuzz/run-fuzzers.sh [SECONDS [TARGET...]]   (default 60 seconds, every target)
#
# $ZEVRA_FUZZ_MODE chooses the build:
#   sanitize  (default) with the address and undefined-behaviour sanitizers:
#             finds memory and arithmetic faults as they happen;
#   coverage  only the fuzzer's coverage, no sanitizer, with the standard
#             library's own checks of indices and iterators
#             (_GLIBCXX_ASSERTIONS): two to four times the inputs per
#             second, for long searches. The corpus it grows
#             (build-fuzz-coverage/corpus_<target>) is read by the next
#             sanitize run, so that what it found passes the sanitizers too.
#
# The build, the grown corpora, the logs and any crash reproducers go to
# $ZEVRA_FUZZ_DIR (default: build-fuzz, or build-fuzz-coverage, beside the
# sources). A reproducer that shows a fault belongs, once the fault is
# mended, in fuzz/corpus/<target>/. Each run ends with a line
#   <target>: N inputs, W per wall second, C per CPU second, cov: .. ft: .. corp: .., <mode>
# (CPU = user + system time of the run, start and seed corpus included).
# $ZEVRA_FUZZ_FLAGS adds libFuzzer options (say "-fork=1 -ignore_crashes=1"
# to go on past a known fault).
#
# The inputs are kept short (a batch file of a few dozen lines, a few
# arguments): the faults sit in how lines, values and texts meet, and a
# short input runs many times faster. The sanitizers keep no allocation
# stacks and a smaller quarantine, which halves their cost per input; a
# reproducer is replayed with full reports anyway. Leaks are looked for once,
# when a run ends, not after every input that allocates more than it frees;
# and the corpus folder, which no other process writes, is not reread every
# second (-reload=0): each cost 5 to 10 per cent of the inputs.
#
# Every run has a private temporary folder in memory-backed space
# (/dev/shm when there is one) as its TMPDIR: no target writes a file, but
# should one ever make a temporary file, it stays out of /tmp and goes when
# the run ends, however it ends.
set -eu

ROOT=$(cd "$(dirname "$0")/.." && pwd)
MODE=${ZEVRA_FUZZ_MODE:-sanitize}
case $MODE in
    sanitize) sanitize=ON flags='' default_out=$ROOT/build-fuzz ;;
    coverage) sanitize=OFF flags=-D_GLIBCXX_ASSERTIONS default_out=$ROOT/build-fuzz-coverage ;;
    *) echo "ZEVRA_FUZZ_MODE must be sanitize or coverage, not '$MODE'" >&2; exit 2 ;;
esac
OUT=${ZEVRA_FUZZ_DIR:-$default_out}
SECONDS_PER_TARGET=${1:-60}
[ $# -gt 0 ] && shift
TARGETS=${*:-"batch_line keyvalue batch_file reference_data json workbook markup_rtf cli_args"}

cmake -S "$ROOT" -B "$OUT" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_CXX_COMPILER="${CXX_FUZZ:-clang++}" -DCMAKE_CXX_FLAGS="$flags" -DZEVRA_FUZZ=ON \
  -DZEVRA_SANITIZE=$sanitize -DZEVRA_BUILD_UI=OFF -DZEVRA_BUILD_TESTS=OFF -DZEVRA_BUILD_BENCH=OFF >/dev/null
for target in $TARGETS; do
    cmake --build "$OUT" -j2 --target "fuzz_$target"
done

# The private temporary folder of the run going on, removed when the script
# ends, also on Ctrl-C, a hangup or a kill. The fuzzer runs in the
# background and the script waits for it, so that a signal is handled at
# once: the fuzzer is stopped first, then its folder removed.
shm=/dev/shm
[ -d "$shm" ] && [ -w "$shm" ] || shm=${TMPDIR:-/tmp}
work=
child=
# shellcheck disable=SC2317 # called by the trap
cleanup() {
    if [ -n "$child" ]; then
        kill "$child" 2>/dev/null || true
        wait "$child" 2>/dev/null || true
    fi
    [ -z "$work" ] || rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 130' INT
trap 'exit 143' TERM
trap 'exit 129' HUP

status=0
for target in $TARGETS; do
    echo "== running fuzz_$target for $SECONDS_PER_TARGET s ($MODE)"
    # New inputs go to the first folder; the committed corpus is only read.
    mkdir -p "$OUT/corpus_$target" "$OUT/crashes_$target"
    log="$OUT/fuzz_$target.log"
    before="$OUT/fuzz_$target.times"
    # An input costs about as much as it is long, and the corpus drifts
    # towards the longest allowed: 1,024 bytes are a batch file of a dozen
    # lines (batch_file: how lines meet; batch_line also runs the model and
    # the HTML on its rows), or several texts.
    case $target in
        reference_data) max_len=4096 ;;
        batch_line | batch_file | json | workbook | cli_args) max_len=1024 ;;
        *) max_len=2048 ;;
    esac
    dict=
    [ -f "$ROOT/fuzz/dict/$target.dict" ] && dict=-dict=$ROOT/fuzz/dict/$target.dict
    # What a coverage run found is read too, so that it passes the sanitizers.
    found=
    [ "$MODE" = sanitize ] && [ -d "$ROOT/build-fuzz-coverage/corpus_$target" ] &&
        found=$ROOT/build-fuzz-coverage/corpus_$target
    work=$(mktemp -d "$shm/zevra-fuzz-$target-XXXXXX")
    # The CPU time of the run: the shell's children's before and after it.
    times >"$before"
    start=$(date +%s.%N)
    # shellcheck disable=SC2086 # the flags are words
    TMPDIR=$work ASAN_OPTIONS=${ASAN_OPTIONS:-malloc_context_size=0:quarantine_size_mb=64} \
        "$OUT/bin/fuzz_$target" -max_total_time="$SECONDS_PER_TARGET" -max_len=$max_len -timeout=10 \
        -rss_limit_mb=2048 -detect_leaks=0 -reload=0 -print_final_stats=1 -artifact_prefix="$OUT/crashes_$target/" \
        $dict ${ZEVRA_FUZZ_FLAGS:-} "$OUT/corpus_$target" "$ROOT/fuzz/corpus/$target" $found >"$log" 2>&1 &
    child=$!
    if ! wait "$child"; then
        tail -n 30 "$log"
        echo "fuzz_$target found a problem; reproducers in $OUT/crashes_$target"
        status=1
    fi
    child=
    end=$(date +%s.%N)
    times >>"$before"
    rm -rf "$work"
    work=
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
    last=$(grep -E '^#[0-9]+' "$log" | tail -n 1 | sed -n 's/.*\(cov: [0-9]*\).*\(ft: [0-9]*\).*\(corp: [^ ]*\).*/\1 \2 \3/p')
    # "times" writes "XmY.Zs XmY.Zs" (user, system): the second line of
    # each pair is the children's.
    speed=$(awk -v runs="${runs:-0}" -v wall="$(echo "$start $end" | awk '{ print $2 - $1 }')" '
        function seconds(t) { split(t, p, "m"); return p[1] * 60 + p[2] }
        NR == 2 { cpu = -seconds($1) - seconds($2) }
        NR == 4 { cpu += seconds($1) + seconds($2) }
        END { if (wall > 0 && cpu > 0) printf "%d per wall second, %d per CPU second", runs / wall, runs / cpu;
              else printf "? per second" }' "$before")
    echo "$target: ${runs:-?} inputs, $speed, $last, $MODE"
done
exit $status
