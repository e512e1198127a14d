#!/usr/bin/env bash
# Runs every fuzz target found in a fuzz build for a bounded time, each from
# its seed corpus. Any crash or sanitizer finding fails the run.
set -euo pipefail
dir=$1; secs=$2
root="$(cd "$(dirname "$0")/.." && pwd)"
shopt -s nullglob
for bin in "$dir"/fuzz/fuzz_*; do
  [ -x "$bin" ] || continue
  name=$(basename "$bin")
  corpus=$(mktemp -d)
  seeds="$root/fuzz/corpus/${name#fuzz_}"
  [ -d "$seeds" ] && cp -r "$seeds"/. "$corpus"/
  echo "fuzzing $name for ${secs}s"
  "$bin" -max_total_time="$secs" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 "$corpus" 2>&1 | tail -5
  rm -rf "$corpus"
done
