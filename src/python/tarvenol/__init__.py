"""Potential flow around bodies of revolution by Hess's source panel method.

Build a body, solve the flow around it, and take the results as numpy arrays::

    import tarvenol as tv
    b = tv.sphere(ni=16, nj=16)        # or tv.body_file(path, nj=..., ni=None),
                                       # tv.profile(x, r, nj=..., ni=None),
                                       # tv.myring(a, b, c, d, n, theta), tv.spheroid(a, b)
    s = tv.solve(b)                    # by the body's symmetry; symmetric=False: the full solve
    s.one_minus_cp, s.sources          # (NI, NJ) views of the solution's own arrays
    s.control_points                   # (NI, NJ, 3)
    s.figures(alpha=0.0, mach=None)    # volume, added masses, ..., Cp_min: body-figures' names;
                                       # reynolds=...: drag-figures' too
    s.surface(alpha=10.0)              # sources, velocities, 1 - Cp and Cp at an angle of attack
    s.forces(alpha=10.0)               # the pressure's force and moment
    s.probe(points, alpha=10.0)        # (N, 3) points in, velocities (N, 3) out
    f = s.flow_field()                 # the field in the plane of the stream; f.at(alpha),
                                       # f.streamlines(alpha)
    tv.sweep(designs, client=None)     # many designs, serially or over a Dask cluster

Lengths are in the body's units, velocities in units of the stream's speed U, angles of attack
in degrees (-90 to 90). Panel (i, j) is row i along the profile from the nose and column j
around the axis, as in the program's report. Bad input raises tarvenol.Error (a ValueError)
with the program's message; long work releases the interpreter's lock and stops at Ctrl-C
(KeyboardInterrupt), keeping nothing of what it began. The numbers are those of the batch tool
tarvenol-batch for the same body, counts and solve, to the bit.
"""

from ._tarvenol import (Body, Error, FlowField, Solution, TarvenolWarning, body_file, myring,
                        profile, solve, sphere, spheroid)
from ._sweep import sweep

__all__ = ["Body", "Error", "FlowField", "Solution", "TarvenolWarning", "body_file", "myring",
           "profile", "solve", "sphere", "spheroid", "sweep"]
