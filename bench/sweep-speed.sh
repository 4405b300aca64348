#!/usr/bin/env bash
# A sweep of 1000 Myring hulls (NI 100, NJ 16, fineness ratio 4 to 12), serially: the Python
# module's tarvenol.sweep against the same rows by SweepRow in C++ alone (bench/sweep_speed),
# both Release builds of one source, alternately, the least of the repetitions each, in wall
# time and in the process's processor time (steadier on a machine shared with other work); and
# the sum of every figure, which must be the same bits. The difference of the two, per row, is
# what Python adds to a solve. Then the same hulls with their drag at a Reynolds number of 1e7
# (free transition), and, given a baseline build folder (of another checkout, configured as
# below), the baseline's sweep without drag in the same run.
#
# NI 100 "resampled": a family builds its profile at NI + 1 points of its own spacing directly
# (geometry/hull_families.h), as a resampled profile would give them; ResampleProfile
# (geometry/profile_resample.h) is for profiles given as points, which a family's are not.
#
# Usage: bench/sweep-speed.sh [build folder, default build-bench] [repetitions, default 3]
#        [threads, default 2] [baseline build folder]
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
dir="$(realpath -m "${1:-$root/build-bench}")"
repetitions="${2:-3}"
export OMP_NUM_THREADS="${3:-2}"
baseline="${4:+$(realpath -m "$4")}"

cmake -S "$root" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTARVENOL_BENCHMARKS=ON \
  -DTARVENOL_TESTS=OFF -DTARVENOL_PYTHON=ON >/dev/null
cmake --build "$dir" --target sweep_speed _tarvenol tarvenol-batch >/dev/null
if [[ -n "$baseline" ]]; then
  cmake --build "$baseline" --target sweep_speed _tarvenol >/dev/null
fi

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
/usr/bin/python3 - "$work" <<'PY'
import sys
d = 0.2
for name, drag in [("designs", ""), ("drag", ",1e7")]:
    with open(f"{sys.argv[1]}/{name}.csv", "w") as f:
        f.write("family,a,b,c,d,n,theta,ni,nj" + (",reynolds" if drag else "") + "\n")
        for k in range(1000):
            b = d * 8 * k / 999  # fineness ratio (a + b + c) / d from 4 to 12
            f.write(f"myring,{1.5 * d!r},{b!r},{2.5 * d!r},{d!r},2,20,100,16{drag}\n")
PY

echo "CPU: $(sed -n 's/^model name[[:space:]]*: //p' /proc/cpuinfo | head -1)," \
  "$(nproc) processors, OMP_NUM_THREADS=$OMP_NUM_THREADS; load average before:" \
  "$(cut -d' ' -f1-3 /proc/loadavg)"
runs=("now designs $dir" "now drag $dir")
[[ -n "$baseline" ]] && runs+=("baseline designs $baseline")
for ((k = 0; k < repetitions; k++)); do
  for run in "${runs[@]}"; do
    read -r label table build <<<"$run"
    "$build/bench/sweep_speed" "$work/$table.csv" >"$work/$label-$table-C++-$k.txt"
    PYTHONPATH="$build/python" /usr/bin/python3 "$root/bench/sweep_speed.py" \
      "$work/$table.csv" >"$work/$label-$table-Python-$k.txt"
  done
done
# The shipped batch tool end to end, whole process: tarvenol-batch sweep IN OUT, the least wall
# time of the repetitions.
for table in designs drag; do
  best=""
  for ((k = 0; k < repetitions; k++)); do
    rm -f "$work/out.csv"
    start=$(date +%s.%N)
    "$dir/apps/tarvenol-batch/tarvenol-batch" sweep "$work/$table.csv" "$work/out.csv"
    seconds=$(echo "$(date +%s.%N) - $start" | bc)
    [[ -z "$best" ]] || (($(echo "$seconds < $best" | bc))) && best=$seconds
  done
  echo "tarvenol-batch sweep, ${table/designs/no drag}: ${best} s wall, whole process"
done
echo "load average after: $(cut -d' ' -f1-3 /proc/loadavg)"
/usr/bin/python3 - "$work" "$repetitions" "${runs[@]}" <<'PY'
import sys
work, repetitions = sys.argv[1], int(sys.argv[2])

def runs(name):
    for k in range(repetitions):
        yield dict(line.split() for line in open(f"{work}/{name}-{k}.txt"))

for run in sys.argv[3:]:
    label, table, _ = run.split()
    cpp, python = list(runs(f"{label}-{table}-C++")), list(runs(f"{label}-{table}-Python"))
    rows = int(cpp[0]["rows"])
    print(f"{label}, {'with drag' if table == 'drag' else 'no drag'}: {rows} rows, "
          f"{cpp[0]['failed']} failed")
    for measure in ("seconds", "cpu"):
        best = {kind: min(float(r[measure]) for r in found) for kind, found in
                [("C++", cpp), ("Python", python)]}
        what = "wall" if measure == "seconds" else "processor"
        for kind, seconds in best.items():
            print(f"  {kind:7} {what:9} {seconds:8.3f} s, {1000 * seconds / rows:7.2f} ms a row")
        print(f"  Python's overhead, {what} time: "
              f"{100 * (best['Python'] / best['C++'] - 1):+.2f} % "
              f"({1000 * (best['Python'] - best['C++']) / rows:+.3f} ms a row)")
    sums = {r["sum"] for r in cpp + python}
    print("  same bits" if len(sums) == 1 else f"  DIFFERENT sums: {sorted(sums)}")
PY
