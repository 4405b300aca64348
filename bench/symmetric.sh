#!/usr/bin/env bash
# The full solve against the solve by the body's symmetry, each a whole process of the shipped
# tarvenol-batch on the sphere (report included), on 2 threads, in one run: the least wall time
# and coefficient stage (--timings) of the repetitions (on a shared machine the others are the
# machine's, not ours), the peak memory, the memory the solve by the symmetry adds against its
# estimate (SymmetricSolveBytes), and the largest error of 1 - Cp against the exact
# 9/4 sin^2(theta), from the batch tool's CSV export of a run of its own, which must keep
# falling from 128^2 to 256^2 and 512^2 panels. A second batch tool, built from another
# commit, runs every case in turn with this one and gets rows of its own.
# Usage: bench/symmetric.sh [build folder, default build-bench] [repetitions, default 3]
#        [baseline tarvenol-batch]
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
dir="$(realpath -m "${1:-$root/build-bench}")"
repetitions="${2:-3}"
baseline="${3:+$(realpath "$3")}"

cmake -S "$root" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTARVENOL_TESTS=OFF >/dev/null
cmake --build "$dir" --target tarvenol-batch >/dev/null
tool="$dir/apps/tarvenol-batch/tarvenol-batch"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
cd "$work"

echo "CPU: $(sed -n 's/^model name[[:space:]]*: *//p' /proc/cpuinfo | head -1), $(nproc) processors; 2 threads"
/usr/bin/python3 "$root/bench/symmetric.py" "$tool" "$repetitions" ${baseline:+"$baseline"}
