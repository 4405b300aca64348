#!/usr/bin/env bash
# The full solve against the solve by the body's symmetry, each a whole process of the shipped
# tarvenol-batch on the sphere (report included), on 2 threads, in one run: the least wall time
# of the repetitions (on a shared machine the others are the machine's, not ours), the peak
# memory (/usr/bin/time) and the largest error of 1 - Cp against the exact 9/4 sin^2(theta),
# from the batch tool's CSV export of a run of its own, which must keep falling from 128^2 to
# 256^2 and 512^2 panels.
# Usage: bench/symmetric.sh [build folder, default build-bench] [repetitions, default 3]
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
dir="$(realpath -m "${1:-$root/build-bench}")"
repetitions="${2:-3}"

cmake -S "$root" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTARVENOL_TESTS=OFF >/dev/null
cmake --build "$dir" --target tarvenol-batch >/dev/null
tool="$dir/apps/tarvenol-batch/tarvenol-batch"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
cd "$work"

echo "CPU: $(lscpu | sed -n 's/^Model name: *//p' | head -1), $(nproc) processors; 2 threads"

# name, then the batch tool's actions
cases=("full 64 x 64|ni 64 nj 64 sphere solve"
       "full 72 x 72|ni 72 nj 72 sphere solve"
       "symmetric 72 x 72|ni 72 nj 72 sphere solve-symmetric"
       "symmetric 128 x 128|ni 128 nj 128 sphere solve-symmetric"
       "symmetric 256 x 256|ni 256 nj 256 sphere solve-symmetric"
       "symmetric 512 x 512|ni 512 nj 512 sphere solve-symmetric"
       "symmetric 1000 x 360|ni 1000 nj 360 sphere solve-symmetric")
declare -A seconds memory
for ((r = 0; r < repetitions; ++r)); do
  for c in "${cases[@]}"; do
    name="${c%%|*}"
    read -r -a actions <<<"${c#*|}"
    rm -f Tarvenol.txt
    OMP_NUM_THREADS=2 /usr/bin/time -o time.txt -f "%e %M" "$tool" "${actions[@]}"
    read -r s kib <time.txt
    if [ -z "${seconds[$name]:-}" ] || awk "BEGIN{exit !($s < ${seconds[$name]})}"; then
      seconds[$name]=$s
    fi
    if [ -z "${memory[$name]:-}" ] || [ "$kib" -gt "${memory[$name]}" ]; then memory[$name]=$kib; fi
  done
done

# The largest |1 - Cp - 9/4 sin^2(theta)| of the solution, theta from the control point's
# direction seen from the sphere's centre.
error() {
  python3 - sphere.csv <<'EOF'
import csv, sys
worst = 0.0
with open(sys.argv[1]) as f:
    for row in csv.DictReader(f):
        x, y, z = float(row["xC"]) - 0.5, float(row["yC"]), float(row["zC"])
        sin2 = (y * y + z * z) / (x * x + y * y + z * z)
        worst = max(worst, abs(float(row["one_minus_Cp"]) - 2.25 * sin2))
print(f"{worst:.2e}")
EOF
}

printf '%-24s%12s%14s%16s\n' "" "whole (s)" "peak (MiB)" "error of 1-Cp"
for c in "${cases[@]}"; do
  name="${c%%|*}"
  read -r -a actions <<<"${c#*|}"
  OMP_NUM_THREADS=2 "$tool" "${actions[@]}" csv sphere.csv
  printf '%-24s%12.2f%14.0f%16s\n' "$name" "${seconds[$name]}" \
    "$(awk "BEGIN{print ${memory[$name]}/1024}")" "$(error)"
done
awk -v f64="${seconds[full 64 x 64]}" -v f72="${seconds[full 72 x 72]}" \
  -v s72="${seconds[symmetric 72 x 72]}" -v s256="${seconds[symmetric 256 x 256]}" \
  -v s1000="${seconds[symmetric 1000 x 360]}" -v m1000="${memory[symmetric 1000 x 360]}" 'BEGIN {
  printf "72 x 72: full / symmetric %.0f (target >= 50)\n", f72 / s72
  printf "256 x 256 symmetric / 64 x 64 full %.2f (target <= 1)\n", s256 / f64
  printf "1000 x 360 symmetric / 64 x 64 full %.2f (target <= 10), peak %.0f MiB (target <= 1024)\n",
         s1000 / f64, m1000 / 1024
}'

