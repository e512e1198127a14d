#!/usr/bin/env bash
# Runs every fuzz target found in a fuzz build for a bounded time, each from
# its seed folder in fuzz/corpus. Any crash or sanitizer finding fails the
# run. Afterwards the inputs that reached new code are merged into the seed
# folder (only those, and none longer than MAX_LEN bytes), so the next run
# starts where this one ended; commit them to keep them.
#   MAX_LEN=N   longest input tried and kept (default 4096)
set -euo pipefail
dir=$1; secs=$2
root="$(cd "$(dirname "$0")/.." && pwd)"
max_len=${MAX_LEN:-4096}
shopt -s nullglob
for bin in "$dir"/fuzz/fuzz_*; do
  [ -x "$bin" ] || continue
  name=$(basename "$bin")
  corpus=$(mktemp -d)
  seeds="$root/fuzz/corpus/${name#fuzz_}"
  mkdir -p "$seeds"
  cp -r "$seeds"/. "$corpus"/
  echo "fuzzing $name for ${secs}s"
  "$bin" -max_total_time="$secs" -max_len="$max_len" -timeout=10 -rss_limit_mb=2048 \
    -print_final_stats=1 "$corpus" 2>&1 | tail -5
  before=$(ls "$seeds" | wc -l)
  "$bin" -merge=1 -max_len="$max_len" -timeout=10 -rss_limit_mb=2048 "$seeds" "$corpus" \
    >/dev/null 2>&1
  echo "$name: $(( $(ls "$seeds" | wc -l) - before )) new inputs kept in fuzz/corpus/${name#fuzz_}"
  rm -rf "$corpus"
done
