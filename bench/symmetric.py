"""The cases of bench/symmetric.sh: each a whole process of a tarvenol-batch on 2 threads, with
--timings, its memory sampled as it runs. Prints the least wall time and coefficient stage of the
repetitions, the peak memory, the memory the solve itself added against its estimate
(SymmetricSolveBytes, which --timings prints), and the largest error of 1 - Cp against the exact
9/4 sin^2(theta) from a CSV export of a run of its own.

Usage: symmetric.py TOOL REPETITIONS [BASELINE_TOOL]; a baseline tool runs each case in turn
with TOOL, in the same run, and gets its own rows.
"""
import csv
import os
import re
import subprocess
import sys
import threading
import time

CASES = [("full 64 x 64", "ni 64 nj 64 sphere solve"),
         ("full 72 x 72", "ni 72 nj 72 sphere solve"),
         ("symmetric 72 x 72", "ni 72 nj 72 sphere solve-symmetric"),
         ("symmetric 128 x 128", "ni 128 nj 128 sphere solve-symmetric"),
         ("symmetric 256 x 256", "ni 256 nj 256 sphere solve-symmetric"),
         ("symmetric 512 x 512", "ni 512 nj 512 sphere solve-symmetric"),
         ("symmetric 1000 x 360", "ni 1000 nj 360 sphere solve-symmetric")]
ENV = dict(os.environ, OMP_NUM_THREADS="2")
MIB = 1024 * 1024


def resident(pid):
    try:
        with open(f"/proc/{pid}/status") as f:
            for line in f:
                if line.startswith("VmRSS:"):
                    return int(line.split()[1]) * 1024
    except OSError:
        pass
    return None


def run(tool, actions):
    """Wall time, coefficient stage, peak RSS, RSS the solve added, the solve's estimate."""
    start = time.monotonic()
    p = subprocess.Popen([tool, "--timings"] + actions.split(), env=ENV, stderr=subprocess.PIPE,
                         stdout=subprocess.DEVNULL, text=True)
    lines = []  # (arrival, text) of standard error

    def read():
        for line in p.stderr:
            lines.append((time.monotonic(), line))

    reader = threading.Thread(target=read)
    reader.start()
    samples = []
    while p.poll() is None:
        rss = resident(p.pid)
        if rss is not None:
            samples.append((time.monotonic(), rss))
        time.sleep(0.002)
    reader.join()
    whole = time.monotonic() - start
    text = "".join(t for _, t in lines)
    coefficients = float(re.search(r"influence coefficients ([0-9.]+) s", text).group(1))
    estimate = re.search(r"by the body's symmetry: ([0-9.]+) (KiB|MiB|GiB) of memory", text)
    added = None
    if estimate:
        # From the estimate's line to the end of the solve's report, before its picture.
        begin = next(at for at, t in lines if "by the body's symmetry:" in t)
        stages = re.search(r"solve-symmetric: influence coefficients ([0-9.]+) s, elimination "
                           r"([0-9.]+) s, surface velocities ([0-9.]+) s, report ([0-9.]+) s",
                           text)
        end = begin + sum(float(g) for g in stages.groups())
        before = [rss for at, rss in samples if at <= begin]
        during = [rss for at, rss in samples if begin <= at <= end]
        if before and during:
            added = max(during) - before[-1]
        scale = {"KiB": 1024, "MiB": MIB, "GiB": 1024 * MIB}[estimate.group(2)]
        estimate = float(estimate.group(1)) * scale
    peak = max(rss for _, rss in samples) if samples else 0
    return whole, coefficients, peak, added, estimate


def error(tool, actions):
    """The largest |1 - Cp - 9/4 sin^2(theta)| of the solution, theta from the control point's
    direction seen from the sphere's centre."""
    subprocess.run([tool] + actions.split() + ["csv", "sphere.csv"], env=ENV, check=True,
                   stderr=subprocess.DEVNULL)
    worst = 0.0
    with open("sphere.csv") as f:
        for row in csv.DictReader(f):
            x, y, z = float(row["xC"]) - 0.5, float(row["yC"]), float(row["zC"])
            sin2 = (y * y + z * z) / (x * x + y * y + z * z)
            worst = max(worst, abs(float(row["one_minus_Cp"]) - 2.25 * sin2))
    return worst


def main():
    tools = {"": sys.argv[1]}
    repetitions = int(sys.argv[2])
    if len(sys.argv) > 3:
        tools["baseline "] = sys.argv[3]
    best = {}
    for _ in range(repetitions):
        for name, actions in CASES:
            for label, tool in tools.items():
                whole, coefficients, peak, added, estimate = run(tool, actions)
                key = label + name
                b = best.setdefault(key, [whole, coefficients, peak, added, estimate])
                b[0], b[1] = min(b[0], whole), min(b[1], coefficients)
                b[2] = max(b[2], peak)
                if added is not None:
                    b[3] = max(b[3] or 0, added)
    print(f"{'':32}{'whole (s)':>10}{'coeff. (s)':>11}{'peak (MiB)':>11}"
          f"{'solve/estimate':>15}{'error of 1-Cp':>15}")
    for name, actions in CASES:
        for label, tool in tools.items():
            whole, coefficients, peak, added, estimate = best[label + name]
            ratio = f"{added / estimate:.2f}" if added is not None and estimate else "-"
            # The baseline's solution is this one's within 1e-9: its error is not measured again.
            worst = f"{error(tool, actions):.2e}" if not label else "-"
            print(f"{label + name:32}{whole:10.2f}{coefficients:11.3f}{peak / MIB:11.0f}"
                  f"{ratio:>15}{worst:>15}")
    s = {name: best[name] for name, _ in CASES}
    print(f"72 x 72: full / symmetric {s['full 72 x 72'][0] / s['symmetric 72 x 72'][0]:.0f} "
          f"(target >= 50)")
    print(f"256 x 256 symmetric: coefficients {s['symmetric 256 x 256'][1]:.3f} s (target <= 0.1)")
    big = s["symmetric 1000 x 360"]
    print(f"1000 x 360 symmetric: coefficients {big[1]:.2f} s (target <= 1), whole {big[0]:.2f} s, "
          f"memory the solve added {big[3] / MIB:.0f} MiB for an estimate of {big[4] / MIB:.0f} "
          f"MiB (target <= 2 times)")


main()
