"""The Python module's sweep of the designs in a CSV table, timed, as sweep_speed times it in C++.

Reads the table's rows as texts, as the C++ program does, so that both read the same doubles;
prints the rows, the wall and processor time of tarvenol.sweep over them, serially, and the sum of every
figure of every row, in sweep_speed's order, which tells whether the two gave the same bits.
Usage: PYTHONPATH=<build>/python python3 sweep_speed.py DESIGNS.csv
"""
import csv
import sys
import time

import tarvenol as tv

with open(sys.argv[1], newline="") as f:
    designs = list(csv.DictReader(f))
start, cpu_start = time.perf_counter(), time.process_time()
rows = tv.sweep(designs)
seconds, cpu = time.perf_counter() - start, time.process_time() - cpu_start
total = 0.0
for design, row in zip(designs, rows):
    for name, value in row.items():
        if name not in design and name not in ("error", "warnings") and value is not None:
            total += value
print(f"rows {len(rows)}\nfailed {sum(r['error'] is not None for r in rows)}\n"
      f"seconds {seconds:.3f}\ncpu {cpu:.3f}\nsum {total!r}")
