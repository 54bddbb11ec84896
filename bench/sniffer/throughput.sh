#!/usr/bin/env bash
# How fast `brindlecap read sniffer` turns a large verbose-6 log into pcapng, side by side with
# Wireshark's text2pcap turning the same frames into pcapng from its own od-style input, and the
# command's peak resident memory (it streams: the peak must not grow with the log).
#   bench/sniffer/throughput.sh [BUILD_DIR] [MEGABYTES] [RUNS]   (default build/bench, 200, 3)
# Needs text2pcap and capinfos (scripts/bootstrap wireshark-common) and GNU time; the best of RUNS
# runs is reported, as the machine may be busy with other work.
set -euo pipefail
cd "$(dirname "$0")/../.."

build=${1:-build/bench}
megabytes=${2:-200}
runs=${3:-3}
cli=$build/src/cli/brindlecap
generator=$build/bench/sniffer/brindlecap-bench-sniffer-log
for program in "$cli" "$generator"; do
    [[ -x $program ]] || { echo "throughput.sh: $program is missing: cmake --preset bench && cmake --build --preset bench" >&2; exit 1; }
done
for program in text2pcap capinfos /usr/bin/time; do
    command -v "$program" >/dev/null || { echo "throughput.sh: $program is missing: scripts/bootstrap wireshark-common time" >&2; exit 1; }
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
echo "input: $("$generator" "$megabytes" "$work/log.txt" "$work/od.txt")"

# Runs a command RUNS times; sets seconds (the best wall time) and kilobytes (the peak resident memory).
measure() {
    seconds='' kilobytes=0
    for ((run = 0; run < runs; ++run)); do
        /usr/bin/time -f '%e %M' -o "$work/time" "$@" >/dev/null 2>"$work/stderr" || {
            echo "throughput.sh: failed: $*" >&2
            tail -5 "$work/stderr" >&2
            exit 1
        }
        read -r s k <"$work/time"
        if [[ -z $seconds ]] || (($(echo "$s < $seconds" | bc))); then seconds=$s; fi
        if ((k > kilobytes)); then kilobytes=$k; fi
    done
}

# The log's relative times count from this instant, and its local times are UTC+05:30.
measure "$cli" read sniffer "$work/log.txt" -o "$work/cli.pcapng" --start 2015-06-23T17:00:12.184010Z --utc-offset +05:30
cli_seconds=$seconds cli_kilobytes=$kilobytes
measure text2pcap -q -D -t '%Y-%m-%d %H:%M:%S.%f' "$work/od.txt" "$work/text2pcap.pcapng"
t2p_seconds=$seconds t2p_kilobytes=$kilobytes

log_mb=$(echo "scale=1; $(stat -c %s "$work/log.txt") / 1000000" | bc)
od_mb=$(echo "scale=1; $(stat -c %s "$work/od.txt") / 1000000" | bc)
packets() { capinfos -M -c -T -r "$1" | cut -f2; }
first_last() { capinfos -T -r -a -e "$1" | cut -f2- | sed -E 's/\.([0-9]{6})[0-9]*/.\1/g'; }
cli_packets=$(packets "$work/cli.pcapng")
t2p_packets=$(packets "$work/text2pcap.pcapng")

printf '%-26s %10s %10s %10s %12s %10s\n' "" input/MB seconds MB/s packets/s "max RSS/MB"
row() { # name input_mb seconds kilobytes packets
    printf '%-26s %10s %10s %10s %12s %10s\n' "$1" "$2" "$3" "$(echo "scale=1; $2 / $3" | bc)" \
        "$(echo "$5 / $3" | bc)" "$(echo "scale=1; $4 / 1024" | bc)"
}
row "brindlecap read sniffer" "$log_mb" "$cli_seconds" "$cli_kilobytes" "$cli_packets"
row "text2pcap (od input)" "$od_mb" "$t2p_seconds" "$t2p_kilobytes" "$t2p_packets"
echo "packets: brindlecap $cli_packets, text2pcap $t2p_packets; best of $runs runs"
if [[ $cli_packets != "$t2p_packets" || "$(first_last "$work/cli.pcapng")" != "$(first_last "$work/text2pcap.pcapng")" ]]; then
    echo "throughput.sh: the two captures differ in packets or in first and last times:" >&2
    capinfos -T -r -c -a -e "$work/cli.pcapng" "$work/text2pcap.pcapng" >&2
    exit 1
fi
