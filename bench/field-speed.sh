#!/usr/bin/env bash
# The flow around the sphere of 64 x 64 panels: the shipped tarvenol-batch, "ni 64 nj 64 sphere
# solve alpha 10 field f.png" on 1 and 2 threads, its influence-coefficient stage against the
# field's stages (the 200 x 200 field of both streams, the streamlines, the picture), all from
# one run of each process; beside them, from the benchmark, the same field by the expansions and
# by the direct sum over every panel, and a move of the angle of attack as the window redraws.
# Each figure is the least of the repetitions.
# Usage: bench/field-speed.sh [build folder, default build-bench] [repetitions, default 3]
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
dir="$(realpath -m "${1:-$root/build-bench}")"
repetitions="${2:-3}"

cmake -S "$root" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTARVENOL_BENCHMARKS=ON \
  -DTARVENOL_TESTS=OFF >/dev/null
cmake --build "$dir" --target field_bench tarvenol-batch >/dev/null

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
for threads in 1 2; do
  for ((k = 0; k < repetitions; k++)); do
    (cd "$work" && OMP_NUM_THREADS=$threads "$dir/apps/tarvenol-batch/tarvenol-batch" --timings \
      ni 64 nj 64 sphere solve alpha 10 field f.png 2>"timings-$threads-$k.txt")
  done
done
"$dir/bench/field_bench" --benchmark_repetitions="$repetitions" --benchmark_format=json \
  >"$work/bench.json"

echo "CPU: $(lscpu | sed -n 's/^Model name: *//p' | head -1), $(nproc) processors"
python3 - "$work" "$repetitions" <<'PY'
import glob, json, re, sys

work, repetitions = sys.argv[1], int(sys.argv[2])

def stages(path):
    """{"solve: influence coefficients": 1.23, ...} from one run's --timings."""
    found = {}
    for line in open(path):
        m = re.match(r"tarvenol-batch: ([a-z ]+): (.*)", line.strip())
        if not m:
            continue
        for part in m.group(2).split(", "):
            t = re.match(r"(.+) ([0-9.]+) s$", part)
            if t:
                found[m.group(1) + ": " + t.group(1)] = float(t.group(2))
    return found

def least(threads, key):
    return min(stages(f"{work}/timings-{threads}-{k}.txt")[key] for k in range(repetitions))

runs = [b for b in json.load(open(f"{work}/bench.json"))["benchmarks"]
        if b.get("run_type") == "iteration"]

def bench(name):
    return min(b["real_time"] for b in runs if b["name"].startswith(name)) / 1000

print(f"{'':44}{'1 thread':>10}{'2 threads':>11}")
rows = [("batch: influence coefficients", "solve: influence coefficients"),
        ("batch: flow field (both streams)", "field: flow field"),
        ("batch: streamlines", "field picture: streamlines"),
        ("batch: picture drawn and written", "field picture: picture and state")]
values = {}
for label, key in rows:
    values[key] = [least(t, key) for t in (1, 2)]
    print(f"{label:44}{values[key][0]:9.3f}s{values[key][1]:10.3f}s")
field = [values["field: flow field"][i] + values["field picture: streamlines"][i] for i in (0, 1)]
coefficients = values["solve: influence coefficients"]
print(f"{'batch: field and streamlines':44}{field[0]:9.3f}s{field[1]:10.3f}s")
print(f"{'  / influence coefficients':44}{field[0] / coefficients[0]:10.2f}"
      f"{field[1] / coefficients[1]:11.2f}")
far = [bench(f"BM_Field/{t}/1/") for t in (1, 2)]
direct = [bench(f"BM_Field/{t}/0/") for t in (1, 2)]
print(f"{'benchmark: field and streamlines, expansions':44}{far[0]:9.3f}s{far[1]:10.3f}s")
print(f"{'benchmark: the same by the direct sum':44}{direct[0]:9.3f}s{direct[1]:10.3f}s")
print(f"{'benchmark: a move of alpha, redrawn':44}{1000 * bench('BM_AlphaRedraw'):8.1f}ms")
PY
