#!/usr/bin/env python3
"""Writes the example body files in examples/ from their formulas.

Each profile runs from the nose (x = 0) to the tail with both ends on the axis. Points are
spaced evenly in an angle so that they crowd towards the ends, where the profile bends most.
"""
import math
import os

N = 41  # profile points


def write(name, title, points):
    path = os.path.join(os.path.dirname(__file__), "..", "examples", name)
    with open(path, "w", newline="\r\n") as f:
        f.write(f'"{title}"\n{len(points)}\n"point, x, r"\n')
        for k, (x, r) in enumerate(points, start=1):
            f.write(f"{k},{x:.10g},{max(r, 0.0):.10g}\n")


def spheroid(ratio=4.0):
    """Prolate spheroid of length 1 and axis ratio 4."""
    a, b = 0.5, 0.5 / ratio
    pts = []
    for k in range(N):
        t = math.pi - math.pi * k / (N - 1)
        pts.append((a * (1 + math.cos(t)), b * math.sin(t)))
    return pts


def ovoid(a=0.5, k=0.1):
    """Rankine ovoid: the closed stream surface of a point source at x = -a and an equal sink
    at x = +a in a unit stream along x; k is the source strength over 4 pi. Shifted so that
    the nose lies at x = 0."""

    def psi(x, r):
        r1 = math.hypot(x + a, r)
        r2 = math.hypot(x - a, r)
        return r * r / 2 - k * ((x + a) / r1 - (x - a) / r2)

    def bisect(f, lo, hi):
        for _ in range(200):
            mid = (lo + hi) / 2
            if (f(lo) < 0) == (f(mid) < 0):
                lo = mid
            else:
                hi = mid
        return (lo + hi) / 2

    # The stagnation points: where the stream's speed along the axis vanishes.
    half = bisect(lambda x: 1 - k * (1 / (x - a) ** 2 - 1 / (x + a) ** 2), a + 1e-9, 10 * a + 10)
    pts = []
    for n in range(N):
        t = math.pi - math.pi * n / (N - 1)
        x = half * math.cos(t)
        r = 0.0 if n in (0, N - 1) else bisect(lambda rr: psi(x, rr), 1e-5, 10.0)
        pts.append((x + half, r))
    return pts


def ogive_cylinder(length=4.0, nose=1.0, radius=0.25):
    """Tangent ogive nose of length 1 on a cylinder, closed by an elliptic tail cap."""
    rho = (radius**2 + nose**2) / (2 * radius)  # ogive radius
    tail = radius  # length of the elliptic cap
    body_end = length - tail
    pts = []
    n_nose, n_body, n_tail = 16, 12, 13
    for k in range(n_nose):
        x = nose * (1 - math.cos(0.5 * math.pi * k / n_nose))
        r = math.sqrt(max(rho**2 - (nose - x) ** 2, 0.0)) + radius - rho
        pts.append((x, r))
    for k in range(n_body):
        pts.append((nose + (body_end - nose) * k / n_body, radius))
    for k in range(n_tail + 1):
        t = 0.5 * math.pi * k / n_tail
        pts.append((body_end + tail * math.sin(t), radius * math.cos(t)))
    pts[-1] = (length, 0.0)
    pts[0] = (0.0, 0.0)
    return pts


write("spheroid.body", "Prolate spheroid, axis ratio 4", spheroid())
write("ovoid.body", "Rankine ovoid", ovoid())
write("ogive-cylinder.body", "Tangent ogive on a cylinder", ogive_cylinder())
