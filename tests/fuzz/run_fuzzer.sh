#!/usr/bin/env bash
# Runs the fuzzer on one reader for a bounded time on its seeds: run_fuzzer.sh FUZZ_BUILD_DIR READER SECONDS. New
# inputs go to a scratch corpus in the build folder, never into the seeds; exits 77 (skipped) when the build is missing.
set -euo pipefail
build_dir=$1 reader=$2 seconds=$3
if [ ! -x "$build_dir/fuzz_readers" ]; then echo "$build_dir/fuzz_readers is missing: test.sh builds it"; exit 77; fi
mkdir -p "$build_dir/corpus/$reader" "$build_dir/artifacts/$reader"
FUZZ_READER=$reader exec "$build_dir/fuzz_readers" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
  -max_len=70000 -close_fd_mask=3 -print_final_stats=1 -artifact_prefix="$build_dir/artifacts/$reader/" \
  "$build_dir/corpus/$reader" "$(cd "$(dirname "$0")" && pwd)/seeds/$reader"
