#!/usr/bin/env bash
# A sweep of 1000 Myring hulls (NI 100 from the family's own 101 points, NJ 16, fineness ratio
# 4 to 12), serially: the Python module's tarvenol.sweep against the same rows by SweepRow in
# C++ alone (bench/sweep_speed), both Release builds of one source, alternately, the least of
# the repetitions each, in wall time and in the process's processor time (steadier on a machine
# shared with other work); and the sum of every figure, which must be the same bits. The
# difference of the two, per row, is what Python adds to a solve.
# Usage: bench/sweep-speed.sh [build folder, default build-bench] [repetitions, default 3]
#        [threads, default 2]
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
dir="$(realpath -m "${1:-$root/build-bench}")"
repetitions="${2:-3}"
export OMP_NUM_THREADS="${3:-2}"

cmake -S "$root" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTARVENOL_BENCHMARKS=ON \
  -DTARVENOL_TESTS=OFF -DTARVENOL_PYTHON=ON >/dev/null
cmake --build "$dir" --target sweep_speed _tarvenol >/dev/null

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
/usr/bin/python3 - "$work/designs.csv" <<'PY'
import sys
d = 0.2
with open(sys.argv[1], "w") as f:
    f.write("family,a,b,c,d,n,theta,ni,nj\n")
    for k in range(1000):
        b = d * 8 * k / 999  # fineness ratio (a + b + c) / d from 4 to 12
        f.write(f"myring,{1.5 * d!r},{b!r},{2.5 * d!r},{d!r},2,20,100,16\n")
PY

echo "CPU: $(lscpu | sed -n 's/^Model name: *//p' | head -1), $(nproc) processors," \
  "OMP_NUM_THREADS=$OMP_NUM_THREADS"
for ((k = 0; k < repetitions; k++)); do
  "$dir/bench/sweep_speed" "$work/designs.csv" >"$work/cpp-$k.txt"
  PYTHONPATH="$dir/python" /usr/bin/python3 "$root/bench/sweep_speed.py" "$work/designs.csv" \
    >"$work/python-$k.txt"
done
/usr/bin/python3 - "$work" "$repetitions" <<'PY'
import sys
work, repetitions = sys.argv[1], int(sys.argv[2])

def runs(kind):
    for k in range(repetitions):
        yield dict(line.split() for line in open(f"{work}/{kind}-{k}.txt"))

cpp, python = list(runs("cpp")), list(runs("python"))
sums = {r["sum"] for r in cpp + python}
rows = int(cpp[0]["rows"])
for measure in ("seconds", "cpu"):
    best = {kind: min(float(r[measure]) for r in found) for kind, found in
            [("C++", cpp), ("Python", python)]}
    what = "wall" if measure == "seconds" else "processor"
    for kind, seconds in best.items():
        print(f"{kind:7} {what:9} {rows} rows in {seconds:8.3f} s, "
              f"{1000 * seconds / rows:7.2f} ms a row")
    print(f"Python's overhead, {what} time: {100 * (best['Python'] / best['C++'] - 1):+.2f} % "
          f"({1000 * (best['Python'] - best['C++']) / rows:+.3f} ms a row)")
print("same bits" if len(sums) == 1 else f"DIFFERENT sums: {sorted(sums)}")
PY
