#!/usr/bin/env bash
# Runs the solver's tests, and the cancels of the long work at every step, under
# ThreadSanitizer: clang with LLVM's OpenMP runtime, whose Archer tool tells the sanitizer about
# OpenMP's own synchronisation.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
dir="$root/build-tsan"
(cd "$root" && cmake --preset tsan >/dev/null)
cmake --build "$dir" --target solver_tests session_tests
archer="$(ls /usr/lib/llvm-*/lib/libarcher.so 2>/dev/null | head -n 1)"
export OMP_TOOL_LIBRARIES="$archer" OMP_NUM_THREADS=4
# The OpenMP runtime itself is not instrumented: its own locks are not ours to check.
export TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1 ignore_noninstrumented_modules=1"
"$dir/tests/solver/solver_tests"
"$dir/tests/session/session_tests" --gtest_filter='Cancel.*'
