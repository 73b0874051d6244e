#!/usr/bin/env bash
# Runs one fuzzer for a bounded time on its seeds: run_fuzzer.sh FUZZ_BUILD_DIR TARGET SECONDS. New inputs go to
# a scratch corpus in the build folder, never into the seeds; exits 77 (skipped) when the fuzz build is missing.
set -euo pipefail
build_dir=$1 target=$2 seconds=$3
if [ ! -x "$build_dir/$target" ]; then echo "$build_dir/$target is missing: test.sh builds the fuzzers"; exit 77; fi
mkdir -p "$build_dir/corpus/$target" "$build_dir/artifacts/$target"
exec "$build_dir/$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len=70000 -close_fd_mask=3 \
  -print_final_stats=1 -artifact_prefix="$build_dir/artifacts/$target/" "$build_dir/corpus/$target" \
  "$(cd "$(dirname "$0")" && pwd)/seeds/${target#fuzz_}"
