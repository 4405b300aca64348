"""Sweeps: bad rows in their own rows, the module's own figures, and the same numbers in the
same order serially and over a Dask cluster of two worker processes."""

import _thread
import csv
import math
import os
import threading
import time
import unittest

import tarvenol as tv
from batch_session import EXAMPLES, BatchSession

HULL = {"family": "myring", "a": 0.2, "b": 0.5, "c": 0.3, "d": 0.16, "n": 2, "theta": 20}

DESIGNS = [
    *[dict(HULL, b=b, ni=40, nj=8, alpha=alpha) for b, alpha in [(0.3, 0), (0.5, 5), (0.7, 10)]],
    {"family": "spheroid", "a": 0.5, "b": "0.125", "ni": 30, "nj": 8, "path": None},
    {"family": "file", "path": os.path.join(EXAMPLES, "spheroid.body"), "nj": 8, "ni": 50},
    dict(HULL, ni=40, nj=8, mach=0.5),
    dict(HULL, theta=80),
    {"family": "cone", "a": 1},
    dict(HULL, d=math.nan),
    {"family": "spheroid", "a": 1, "b": 0.2, "c": 3},
    {"family": "file", "path": "/no/such.body"},
    ["not", "a", "dict"],
    dict(HULL, nj="many"),
    dict(HULL, mach=1.2),
]

REFUSALS = [
    "The tail angle theta must be a number of degrees from 0 to",
    "The family must be myring, spheroid or file; \"cone\" is none of them.",
    "The column d must be a number; \"nan\" is not.",
    "A spheroid takes no c (\"3\"): leave the column blank in its row.",
    "The body file \"/no/such.body\" cannot be opened",
    "A design must be a dict of columns; this one is a list.",
    "The column nj must be a number; \"many\" is not.",
    "The Mach number 1.2 is not below 1",
]


class Sweeps(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.serial = tv.sweep(DESIGNS)

    def test_bad_rows_get_their_messages_and_the_sweep_goes_on(self):
        self.assertEqual(len(self.serial), len(DESIGNS))
        good, bad = self.serial[:6], self.serial[6:]
        for design, row in zip(DESIGNS, good):
            self.assertIsNone(row["error"])
            self.assertEqual({k: row[k] for k in design}, design)
            self.assertLess(row["Cp_min"], 0)
        for message, row in zip(REFUSALS, bad):
            self.assertIn(message, row["error"])
            self.assertNotIn("volume", row)

    def test_a_row_gives_the_modules_figures(self):
        body = tv.myring(0.2, 0.5, 0.3, 0.16, 2, 20, ni=40, nj=8)
        figures = tv.solve(body).figures(alpha=5)
        row = self.serial[1]
        self.assertEqual({k: row[k] for k in figures}, figures)

    def test_a_mach_number_and_a_resampled_file(self):
        body = tv.myring(0.2, 0.5, 0.3, 0.16, 2, 20, ni=40, nj=8)
        at_mach = self.serial[5]
        self.assertEqual({k: at_mach[k] for k in ("Cp_min", "M_critical")},
                         {k: v for k, v in tv.solve(body).figures(mach=0.5).items()
                          if k in ("Cp_min", "M_critical")})
        # Göthert's rule deepens the suction peak; the incompressible rows have no M_critical.
        self.assertLess(at_mach["Cp_min"], tv.solve(body).figures()["Cp_min"])
        self.assertNotIn("M_critical", self.serial[0])
        self.assertEqual(self.serial[4]["coarse_ni"], 50)

    def test_the_batch_sweep_gives_the_same_columns_and_numbers(self):
        good = DESIGNS[:6]
        names = sorted({k for d in good for k in d})
        table = "".join(",".join(text for _, text in tv._sweep._texts(row)) + "\n" for row in
                        [dict(zip(names, names))] + [{k: d.get(k) for k in names} for d in good])
        batch = BatchSession("sweep", "in.csv", "out.csv", inputs={"in.csv": table})
        try:
            with open(os.path.join(batch.folder, "out.csv"), newline="") as f:
                rows = list(csv.DictReader(f))
        finally:
            batch.close()
        for row, mine in zip(rows, self.serial):
            for name, value in mine.items():
                if isinstance(value, float) and name not in names:
                    self.assertEqual(float(row[name]), value, name)
            self.assertEqual(row["error"], "")

    def test_ctrl_c_stops_a_serial_sweep(self):
        designs = [dict(HULL, b=0.3 + k / 100, nj=16) for k in range(300)]
        timer = threading.Timer(0.5, _thread.interrupt_main)
        start = time.perf_counter()
        timer.start()
        try:
            with self.assertRaises(KeyboardInterrupt):
                tv.sweep(designs)
        finally:
            timer.cancel()
        self.assertLess(time.perf_counter() - start, 0.5 + 3)

    def test_drag_where_a_row_names_a_reynolds_number(self):
        hull = dict(HULL, ni=40, nj=8)
        free, laminar, none, *bad = tv.sweep([
            dict(hull, reynolds=1e6), dict(hull, reynolds=1e5, transition="laminar"),
            dict(hull, reynolds=None), dict(hull, transition="free"),
            dict(hull, reynolds=-1), dict(hull, reynolds=1e6, transition="tripped"),
            dict(hull, nj=5, reynolds=-1)])
        for row, reynolds in [(free, 1e6), (laminar, 1e5)]:
            self.assertIsNone(row["error"])
            self.assertEqual(row["Re_L"], reynolds)
            self.assertGreater(row["CD_wetted"], 0)
        self.assertIsNotNone(free["x_transition"])
        self.assertIsNone(laminar["x_transition"])
        self.assertLess(laminar["x_separation"], 1)
        self.assertNotIn("CD_wetted", none)
        self.assertEqual((none["kprime"], none["Cp_min"]), (free["kprime"], free["Cp_min"]))
        for message, row in zip(["The column transition needs a Reynolds number",
                                 "The Reynolds number must be a number above 0",
                                 "The column transition must be free, laminar or the x/L",
                                 # the figures' second solution comes before the drag
                                 "A second solution at half the panels around needs NJ"], bad):
            self.assertIn(message, row["error"])

    def test_dask_gives_the_same_numbers_in_the_same_order(self):
        from distributed import Client, LocalCluster
        with LocalCluster(n_workers=2, threads_per_worker=1, processes=True,
                          dashboard_address=None) as cluster, Client(cluster) as client:
            distributed = tv.sweep(DESIGNS, client=client)
        self.assertEqual(distributed, self.serial)
        with self.assertRaises(tv.Error) as caught:
            tv.sweep(DESIGNS, client=client)
        self.assertIn("The Dask client is closed", str(caught.exception))
        with self.assertRaises(TypeError):
            tv.sweep(DESIGNS, client=8786)

    def test_an_unreachable_scheduler_is_named(self):
        from tarvenol import _sweep
        _sweep.CONNECT_TIMEOUT = "1s"
        with self.assertRaises(tv.Error) as caught:
            tv.sweep(DESIGNS, client="tcp://127.0.0.1:9")
        self.assertIn("The Dask scheduler at tcp://127.0.0.1:9 cannot be reached: Timed out",
                      str(caught.exception))


if __name__ == "__main__":
    unittest.main()
