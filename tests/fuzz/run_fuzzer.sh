#!/usr/bin/env bash
# Runs one fuzz target for a fixed time on a scratch copy of its seed corpus,
# so the seeds in the repository never change. Prints libFuzzer's final stats.
set -euo pipefail
fuzzer=$1 seeds=$2 seconds=$3 max_len=${4:-4096}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp -r "$seeds"/. "$work"/
cd "$work"
"$fuzzer" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len="$max_len" \
          -print_final_stats=1 "$work" 2>&1 | grep -E 'stat::number_of_executed_units|stat::peak_rss|Done|ERROR|SUMMARY|==[0-9]+==|#[0-9]+ *DONE' || true
exit "${PIPESTATUS[0]}"
