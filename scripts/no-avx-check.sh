#!/usr/bin/env bash
# Runs the solver's tests and one batch session on an emulated x86-64 CPU without AVX
# (qemu-user's Nehalem model), where the program takes its plain vector path and glibc its SSE2
# routines, and compares the session's report with the same session run natively. Exit status
# 0 when the tests pass and the reports are the same bytes, 1 otherwise.
# Usage: scripts/no-avx-check.sh [build folder, default build-noavx]
set -uo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
dir="${1:-$root/build-noavx}"
cpu=Nehalem

fail() {
  echo "no-avx-check: FAILED: $*" >&2
  exit 1
}

[ "$(uname -m)" = x86_64 ] || fail "this check is for x86-64 machines"
command -v qemu-x86_64 >/dev/null || fail "qemu-x86_64 is missing (Debian package qemu-user)"

cmake -S "$root" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTARVENOL_CHECKED=ON -DTARVENOL_WERROR=ON \
  >/dev/null || fail "cmake could not configure $dir"
cmake --build "$dir" --target solver_tests tarvenol-batch >/dev/null || fail "the build failed"

emulated() { qemu-x86_64 -cpu "$cpu" "$@"; }

echo "no-avx-check: solver tests on $cpu"
emulated "$dir/tests/solver/solver_tests" --gtest_brief=1 || fail "solver tests on $cpu"

# 480 panels: several blocks of the elimination, a partial block of coefficients.
session=(ni 20 nj 24 sphere solve)
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
mkdir "$work/native" "$work/emulated"
(cd "$work/native" && "$dir/apps/tarvenol-batch/tarvenol-batch" "${session[@]}") ||
  fail "native session ${session[*]}"
(cd "$work/emulated" && emulated "$dir/apps/tarvenol-batch/tarvenol-batch" "${session[@]}") ||
  fail "session ${session[*]} on $cpu"
cmp "$work/native/Tarvenol.txt" "$work/emulated/Tarvenol.txt" ||
  fail "the report of ${session[*]} differs between this CPU and $cpu"
echo "no-avx-check: passed; the report of '${session[*]}' is the same bytes on $cpu and here"
