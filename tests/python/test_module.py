"""The module against the batch tool, bit for bit, and its face to Python: views without
copies, errors as exceptions, warnings, the lock released and Ctrl-C."""

import _thread
import gc
import os
import threading
import time
import unittest
import warnings

import numpy as np

import tarvenol as tv
from batch_session import EXAMPLES, BatchSession

POINTS = [(-0.2, 0.0, 0.0), (0.5, 0.8, 0.1), (1.4, -0.3, 0.2)]


class SameBitsAsTheBatchTool(unittest.TestCase):
    """Every number compared with ==: the csv and body-figures print shortest round-trip
    doubles, and the module computes them by the same functions."""

    @classmethod
    def setUpClass(cls):
        points = "x,y,z\n" + "".join(f"{x!r},{y!r},{z!r}\n" for x, y, z in POINTS)
        cls.batch = BatchSession("ni", 12, "nj", 16, "sphere", "solve-symmetric", "csv", "a0.csv",
                                 "alpha", 10, "csv", "a10.csv", "forces", "f.csv", 10, 10, 1,
                                 "probe-csv", "in.csv", "out.csv", "body-figures",
                                 inputs={"in.csv": points})
        cls.solution = tv.solve(tv.sphere(ni=12, nj=16))

    @classmethod
    def tearDownClass(cls):
        cls.batch.close()

    def assertPanels(self, rows, surface, body):
        ni, nj = surface["cp"].shape
        self.assertEqual(len(rows), ni * nj)
        for row in rows:
            i, j = int(row["i"]) - 1, int(row["j"]) - 1
            self.assertEqual(tuple(body.control_points[i, j]), (row["xC"], row["yC"], row["zC"]))
            self.assertEqual(surface["sources"][i, j], row["source_strength"])
            self.assertEqual(tuple(surface["velocities"][i, j]), (row["Vx"], row["Vy"], row["Vz"]))
            self.assertEqual(surface["one_minus_cp"][i, j], row["one_minus_Cp"])
            self.assertEqual(surface["cp"][i, j], row["Cp"])
            self.assertEqual(body.areas[i, j], row["area"])

    def test_the_surface_at_two_angles(self):
        s = self.solution
        self.assertPanels(self.batch.rows("a0.csv"), s.surface(), s.body)
        self.assertPanels(self.batch.rows("a10.csv"), s.surface(alpha=10), s.body)
        # The views are the report's arrays: the csv's at 0 degrees.
        np.testing.assert_array_equal(s.one_minus_cp, s.surface()["one_minus_cp"])
        np.testing.assert_array_equal(s.sources, s.surface()["sources"])

    def test_figures_forces_and_probes(self):
        s = self.solution
        # body-figures gives the critical Mach number, which the module does where asked.
        self.assertEqual(s.figures(alpha=10, mach=0), self.batch.figures())
        cp = s.surface(alpha=10)["cp"]
        self.assertEqual(s.figures(alpha=10)["Cp_min"], cp.min())
        self.assertNotIn("M_critical", s.figures(alpha=10))
        (forces,) = self.batch.rows("f.csv")
        self.assertEqual(s.forces(alpha=10), {k: v for k, v in forces.items() if v is not None})
        probed = s.probe(np.array(POINTS), alpha=10)
        for row, v in zip(self.batch.rows("out.csv"), probed):
            self.assertEqual(tuple(v), (row["Vx"], row["Vy"], row["Vz"]))

    def test_the_full_solve_and_a_body_file(self):
        path = os.path.join(EXAMPLES, "spheroid.body")
        batch = BatchSession("ni", 6, "nj", 8, "sphere", "solve", "csv", "full.csv",
                             "nj", 12, "body", path, "solve-symmetric", "body-figures")
        try:
            full = tv.solve(tv.sphere(ni=6, nj=8), symmetric=False)
            self.assertFalse(full.symmetric)
            self.assertPanels(batch.rows("full.csv"), full.surface(), full.body)
            figures = tv.solve(tv.body_file(path, nj=12)).figures()
            self.assertIn("k1_lamb", figures)
            self.assertEqual(figures, {k: v for k, v in batch.figures().items()
                                       if k != "M_critical"})
        finally:
            batch.close()

    def test_a_resampled_file_at_a_mach_number_with_its_drag(self):
        path = os.path.join(EXAMPLES, "spheroid.body")
        batch = BatchSession("nj", 16, "body", path, "ni", 60, "resample", "solve-symmetric",
                             "mach", 0.6, "reynolds", 2e6, "transition", 0.1, "body-figures",
                             "drag-figures")
        try:
            body = tv.body_file(path, nj=16, ni=60)
            with self.assertWarns(tv.TarvenolWarning):  # the boundary layer's, as the batch's
                figures = tv.solve(body).figures(mach=0.6, reynolds=2e6, transition=0.1)
            self.assertEqual(figures, batch.figures())
            # The same profile given as arrays re-panels to the same bits.
            again = tv.profile(tv.body_file(path).x, tv.body_file(path).r, nj=16, ni=60)
            np.testing.assert_array_equal(again.control_points, body.control_points)
        finally:
            batch.close()


class FaceToPython(unittest.TestCase):
    def test_views_without_copies_that_keep_the_solution(self):
        s = tv.solve(tv.sphere(ni=10, nj=14))
        view = s.one_minus_cp
        self.assertEqual(view.shape, (10, 14))
        # Row i + 1 of the array that runs from 0: a row of 15 doubles, element (1, 1) first.
        self.assertEqual(view.strides, (15 * 8, 8))
        self.assertTrue(np.shares_memory(view, s.one_minus_cp))
        self.assertFalse(view.flags.writeable)
        with self.assertRaises(ValueError):
            view[0, 0] = 1
        points = s.control_points
        self.assertEqual(points.shape, (10, 14, 3))
        self.assertTrue(np.shares_memory(points, s.body.control_points))
        self.assertEqual(s.body.corners.shape, (10, 14, 4, 3))
        np.testing.assert_array_equal(s.body.corners.mean(axis=2)[1:-1], points[1:-1])
        expected = view.copy()
        del s
        gc.collect()
        np.testing.assert_array_equal(view, expected)
        # The sphere's equator, 9/4 in the exact flow, within the method's error at 10 panels.
        self.assertAlmostEqual(view.max(), 2.25, delta=0.1)

    def test_bad_input_raises_the_programs_messages(self):
        cases = [
            (lambda: tv.profile([0, 0.5, np.nan, 1], [0, 0.3, 0.3, 0]), "holds nan as x of point 3"),
            (lambda: tv.profile(np.zeros((3, 2)), [0, 1, 0]), "x must be a one-dimensional"),
            (lambda: tv.profile([0, 1j, 2], [0, 1, 0]), "its dtype is complex128"),
            (lambda: tv.profile(["0", "1", "2"], [0, 1, 0]), "x must hold real numbers"),
            (lambda: tv.profile([0, 1, 2], [0, 1]), "3 values of x but 2 of r"),
            (lambda: tv.profile([0, 1], [0, 0]), "has 2 points"),
            (lambda: tv.sphere(ni=1.5), "NI must be a whole number from 2"),
            (lambda: tv.sphere(nj=2), "NJ must be a whole number from 3"),
            (lambda: tv.body_file("/no/such.body"), "cannot be opened"),
            (lambda: tv.myring(1, 2, 1.5, 0.8, 2, 60), "The tail angle theta"),
            (lambda: tv.spheroid(1, -1), "The semi-axis b"),
        ]
        s = tv.solve(tv.sphere(ni=8, nj=8))
        cases += [
            (lambda: s.probe([1, 2, 3]), "points must be an array of shape (N, 3)"),
            (lambda: s.probe([[1, np.inf, 3]]), "every value must be a finite number"),
            (lambda: s.probe([[0.5, 0, 0], [-1, 0, 0]]), "1 of the 2 points lie inside the body"),
            (lambda: s.surface(alpha=100), "from -90 to 90; 100 is not"),
            (lambda: s.figures(alpha=np.nan), "from -90 to 90; nan is not"),
            (lambda: s.figures(mach=1), "The Mach number 1 is not below 1"),
            (lambda: s.figures(reynolds=1e6, transition="tripped"), "is none of them"),
            (lambda: s.figures(transition="laminar"), "transition needs a Reynolds number"),
            (lambda: s.figures(reynolds=0), "at least 20 panels along the body; it has 8"),
            (lambda: tv.body_file(os.path.join(EXAMPLES, "spheroid.body"), ni=1),
             "The profile can be resampled with a whole number of panels from 2"),
            (lambda: s.flow_field(nx=1), "nx must be a whole number from 2"),
        ]
        for make, message in cases:
            with self.subTest(message), self.assertRaises(tv.Error) as caught:
                make()
            self.assertIsInstance(caught.exception, ValueError)
            self.assertIn(message, str(caught.exception))
        v = s.probe([[0.5, 0, 0], [-1, 0, 0]], inside="nan")
        self.assertTrue(np.isnan(v[0]).all() and np.isfinite(v[1]).all())

    def test_a_profile_taken_with_a_warning(self):
        with warnings.catch_warnings(record=True) as caught:
            warnings.simplefilter("always")
            b = tv.profile([1, 0.5, 0], [0, 0.3, 0], nj=8)
        self.assertEqual(len(b.warnings), 1)
        self.assertIs(caught[0].category, tv.TarvenolWarning)
        self.assertIn("runs from tail to nose", str(caught[0].message))

    def test_the_field_and_its_streamlines(self):
        s = tv.solve(tv.sphere(ni=16, nj=16))
        field = s.flow_field(nx=40, ny=30)
        at = field.at(alpha=10)
        self.assertEqual(at["cp"].shape, (40, 30))
        self.assertTrue(np.isnan(at["cp"][at["masked"]]).all())
        self.assertTrue(np.isfinite(at["cp"][~at["masked"]]).all())
        lines = field.streamlines(alpha=10, seeds=5)
        self.assertEqual(len(lines), 5)
        self.assertEqual(lines[0]["points"].shape[1], 2)

    def test_the_lock_is_released_and_ctrl_c_stops_the_solve(self):
        # The full solve of 3600 panels: about a second and a half of work, of which the
        # elimination alone is O(N^3).
        body = tv.sphere(ni=60, nj=60)
        stamps, stop = [], threading.Event()

        def tick():
            while not stop.is_set():
                stamps.append(time.perf_counter())
                time.sleep(0.01)

        ticker = threading.Thread(target=tick)
        timer = threading.Timer(0.3, _thread.interrupt_main)
        ticker.start()
        timer.start()
        start = time.perf_counter()
        try:
            with self.assertRaises(KeyboardInterrupt):
                tv.solve(body, symmetric=False)
        finally:
            stop.set()
            ticker.join()
            timer.cancel()
        end = time.perf_counter()
        # The other thread ran while the solve did, and the solve stopped soon after the signal.
        self.assertGreater(sum(start + 0.1 < t < end - 0.05 for t in stamps), 5)
        self.assertLess(end - start, 0.3 + 10)
        # Nothing of the stopped solve is kept: the body solves again.
        self.assertEqual(tv.solve(tv.sphere(ni=8, nj=8)).one_minus_cp.shape, (8, 8))


if __name__ == "__main__":
    unittest.main()
