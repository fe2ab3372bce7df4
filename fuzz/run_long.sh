#!/usr/bin/env bash
# The longer fuzz run behind the reliability figures: builds the fuzz preset's targets
# (or uses those in $1) and runs each for $2 seconds (300 by default), one after the
# other, from the committed seeds. Prints executions and time per target.
# Usage: fuzz/run_long.sh [build dir] [seconds] ["ranking settings texts"]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build-fuzz}
seconds=${2:-300}
targets=${3:-ranking settings texts}
if [ "$build" = build-fuzz ]; then
    cmake --preset fuzz >/dev/null
    cmake --build --preset fuzz -j2
fi
work=$(mktemp -d /tmp/pelmanix-fuzz-long-XXXXXX)
for target in $targets; do
    mkdir -p "$work/$target"
    dict=()
    [ -f "fuzz/$target.dict" ] && dict=("-dict=fuzz/$target.dict")
    "$build/fuzz/fuzz_$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
        -print_final_stats=1 "${dict[@]}" -artifact_prefix="$work/$target-" \
        "$work/$target" "fuzz/corpus/$target" >"$work/$target.log" 2>&1 || {
        echo "fuzz_$target FAILED, see $work/$target.log"
        exit 1
    }
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$work/$target.log")
    time=$(sed -n 's/^Done [0-9]* runs in \([0-9]*\) second.*/\1/p' "$work/$target.log")
    cov=$(grep -o 'cov: [0-9]*' "$work/$target.log" | tail -1)
    echo "fuzz_$target: $runs executions in $time s, $cov, corpus $(ls "$work/$target" | wc -l) inputs, no failure"
done
echo "logs and corpora: $work"
