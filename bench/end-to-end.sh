#!/usr/bin/env bash
# The shipped tarvenol-batch, "ni 64 nj 64 sphere solve" on 1 and 2 threads, timed as a whole
# process against the sum of its kernel stages (influence coefficients, matrix report,
# GaussSolve) as the benchmark measures them, all in one run of the benchmark. Each figure is
# the least of the repetitions: on a shared machine the others are the machine's, not ours.
# Usage: bench/end-to-end.sh [build folder, default build-bench] [repetitions, default 3]
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
dir="${1:-$root/build-bench}"
repetitions="${2:-3}"

cmake -S "$root" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTARVENOL_BENCHMARKS=ON \
  -DTARVENOL_TESTS=OFF >/dev/null
cmake --build "$dir" --target solver_bench >/dev/null

results="$(mktemp)"
trap 'rm -f "$results"' EXIT
"$dir/bench/solver_bench" \
  --benchmark_filter='BM_(InfluenceCoefficients/./0|MatrixReport|GaussSolve/./0|BatchTool)/' \
  --benchmark_repetitions="$repetitions" --benchmark_format=json >"$results"

python3 - "$results" <<'EOF'
import json, sys

runs = [b for b in json.load(open(sys.argv[1]))["benchmarks"] if b.get("run_type") == "iteration"]

def least(prefix, key="real_time"):
    values = [b[key] for b in runs if b["name"].startswith(prefix)]
    return min(values) / (1000 if key == "real_time" else 1)

print(f"{'':28}{'1 thread':>10}{'2 threads':>11}")
rows = [("influence coefficients", "BM_InfluenceCoefficients/{}/0/"),
        ("matrix report", "BM_MatrixReport/{}/"),
        ("GaussSolve", "BM_GaussSolve/{}/0/")]
sums = {}
for name, pattern in rows:
    times = [least(pattern.format(t)) for t in (1, 2)]
    for t, v in zip((1, 2), times):
        sums[t] = sums.get(t, 0) + v
    print(f"{'kernel: ' + name:28}{times[0]:9.3f}s{times[1]:10.3f}s")
print(f"{'sum of the kernel stages':28}{sums[1]:9.3f}s{sums[2]:10.3f}s")
for stage in ("influence_coefficients", "matrix_report", "elimination", "surface_velocities"):
    times = [least(f"BM_BatchTool/{t}/", stage + "_s") for t in (1, 2)]
    print(f"{'batch: ' + stage.replace('_', ' '):28}{times[0]:9.3f}s{times[1]:10.3f}s")
whole = [least(f"BM_BatchTool/{t}/") for t in (1, 2)]
print(f"{'batch: whole process':28}{whole[0]:9.3f}s{whole[1]:10.3f}s")
print(f"{'whole / sum of kernels':28}{whole[0] / sums[1]:10.2f}{whole[1] / sums[2]:11.2f}")
EOF
