#!/usr/bin/env bash
# How fast the debug-flow reader reads a large log, side by side with merely splitting the same file into
# lines in the same program, and the peak resident memory of `brindlecap read flow` on the log and on
# one twice its size (it streams: the peak must stay flat). It fails when the reading does not find the
# traces and drops the generator wrote.
#   bench/flow/throughput.sh [BUILD_DIR] [MEGABYTES] [RUNS]   (default build/bench, 100, 3)
# Needs GNU time.
set -euo pipefail
cd "$(dirname "$0")/../.."

build=${1:-build/bench}
megabytes=${2:-100}
runs=${3:-3}
cli=$build/src/cli/brindlecap
generator=$build/bench/flow/brindlecap-bench-flow-log
reader=$build/bench/flow/brindlecap-bench-flow-read
for program in "$cli" "$generator" "$reader"; do
    [[ -x $program ]] || { echo "throughput.sh: $program is missing: cmake --preset bench && cmake --build --preset bench" >&2; exit 1; }
done
command -v /usr/bin/time >/dev/null || { echo "throughput.sh: /usr/bin/time is missing: scripts/bootstrap time" >&2; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Writes a log of $1 MB to $2 and checks that the reading finds what was written.
generate() {
    local written found
    written=$("$generator" "$1" "$2")
    echo "input: $written"
    found=$("$reader" "$2" --read | tail -1)
    [[ $found == "traces=$(cut -d' ' -f1 <<<"$written") dropped=$(cut -d' ' -f3 <<<"$written")" ]] || {
        echo "throughput.sh: the generator wrote $written, the reading found $found" >&2
        exit 1
    }
}
generate "$megabytes" "$work/log.txt"
"$reader" "$work/log.txt" "$runs"

# Peak resident memory of the command on the log and on one twice its size. Before the command reads
# flow output, that of the reading in the harness.
peak() {
    local command=("$cli" read flow "$1")
    echo 'id=20085 trace_id=1 msg="allocate a new session-00000001"' | "$cli" read flow - >/dev/null 2>&1 ||
        command=("$reader" "$1" --read)
    /usr/bin/time -f '%M' -o "$work/time" "${command[@]}" >/dev/null 2>"$work/stderr" || {
        echo "throughput.sh: failed: ${command[*]}" >&2
        tail -5 "$work/stderr" >&2
        exit 1
    }
    printf 'peak memory of %-40s %8s MB on %s MB\n' "${command[*]##*/}" "$(echo "scale=1; $(cat "$work/time") / 1024" | bc)" \
        "$(echo "scale=1; $(stat -c %s "$1") / 1000000" | bc)"
}
peak "$work/log.txt"
generate $((megabytes * 2)) "$work/log2.txt"
peak "$work/log2.txt"
