#!/usr/bin/env bash
# Runs the fuzzer on one reader's seeds: run_fuzzer.sh FUZZ_BUILD_DIR READER [SECONDS]. Without SECONDS (or with 0) it
# replays the seeds once, as ctest does; with SECONDS it fuzzes that long, keeping new inputs in a scratch corpus in
# the build folder, never among the seeds. Exits 77 (skipped) when the build is missing.
set -euo pipefail
build_dir=$1 reader=$2 seconds=${3:-0}
if [ ! -x "$build_dir/fuzz_readers" ]; then echo "$build_dir/fuzz_readers is missing: test.sh builds it"; exit 77; fi
seeds="$(cd "$(dirname "$0")" && pwd)/seeds/$reader"
mkdir -p "$build_dir/corpus/$reader" "$build_dir/artifacts/$reader"
if [ "$seconds" -eq 0 ]; then length=(-runs=0); else length=(-max_total_time="$seconds"); fi
FUZZ_READER=$reader exec "$build_dir/fuzz_readers" "${length[@]}" -timeout=10 -rss_limit_mb=2048 -max_len=70000 \
  -close_fd_mask=3 -print_final_stats=1 -artifact_prefix="$build_dir/artifacts/$reader/" "$build_dir/corpus/$reader" "$seeds"
