#!/usr/bin/env bash
# Builds the fuzz targets with clang's libFuzzer (and AddressSanitizer, UndefinedBehaviorSanitizer)
# and runs each for the given number of seconds (default 60), starting from its saved corpus.
# New cases the fuzzer finds interesting go to build-fuzz/corpus, not into the repository;
# a crash leaves its input in build-fuzz/findings and makes the script fail.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
seconds="${1:-60}"
dir="$root/build-fuzz"
(cd "$root" && cmake --preset fuzz >/dev/null)
targets=(body_file points_table text_number number_format command_line)
cmake --build "$dir" --target "${targets[@]/#/fuzz_}"
mkdir -p "$dir/findings"
for t in "${targets[@]}"; do
  mkdir -p "$dir/corpus/$t"
  echo "fuzzing $t for ${seconds}s"
  "$dir/tests/fuzz/fuzz_$t" -max_total_time="$seconds" -max_len=4096 -timeout=10 \
    -rss_limit_mb=2048 -artifact_prefix="$dir/findings/$t-" -print_final_stats=1 \
    "$dir/corpus/$t" "$root/tests/fuzz/corpus/$t" 2>&1 | grep -E '^(stat::number_of_executed_units|#[0-9]+ +DONE|==[0-9]+==ERROR|SUMMARY|broken)' || true
  if compgen -G "$dir/findings/$t-*" >/dev/null; then
    echo "fuzz_$t found a failing input: see $dir/findings" >&2
    exit 1
  fi
done
