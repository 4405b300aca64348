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


def suboff():
    """The DARPA SUBOFF bare hull (Groves, Huang and Chang, DTRC/SHD-1298-01, 1989), in feet:
    bow, parallel middle body, afterbody and cap, each a closed formula. Points crowd towards
    the nose and the tail."""
    r_max, r_h, k0, k1 = 5.0 / 6, 0.1175, 10.0, 44.6244
    bow_end, body_end, after_end, length = 3.333333, 10.645833, 13.979167, 14.291667

    def bow(x):
        s = 0.3 * x - 1
        inner = 1.126395101 * x * s**4 + 0.442874707 * x * x * s**3 + 1 - s**4 * (1.2 * x + 1)
        return r_max * max(inner, 0.0) ** (1 / 2.1)

    def afterbody(x):
        xi = (after_end - x) / 3.333333
        c = [r_h**2, r_h * k0, 20 - 20 * r_h**2 - 4 * r_h * k0 - k1 / 3,
             -45 + 45 * r_h**2 + 6 * r_h * k0 + k1, 36 - 36 * r_h**2 - 4 * r_h * k0 - k1,
             -10 + 10 * r_h**2 + r_h * k0 + k1 / 3]
        inner = c[0] + c[1] * xi**2 + sum(c[n] * xi**(n + 1) for n in range(2, 6))
        return r_max * math.sqrt(max(inner, 0.0))

    def cap(x):
        return r_h * r_max * math.sqrt(max(1 - (3.2 * x - 44.733333) ** 2, 0.0))

    def radius(x):
        if x <= bow_end:
            return bow(x)
        if x <= body_end:
            return r_max
        if x <= after_end:
            return afterbody(x)
        return cap(x)

    # The profile as a fine polyline, then points at steps of arc length that shrink smoothly
    # towards both ends, to a fifth of the mean there: no step is far from its neighbours.
    fine = [length * (1 - math.cos(math.pi * k / 20000)) / 2 for k in range(20001)]
    line = [(x, radius(x)) for x in fine]
    arc = [0.0]
    for (x0, r0), (x1, r1) in zip(line, line[1:]):
        arc.append(arc[-1] + math.hypot(x1 - x0, r1 - r0))
    n, crowding = 61, 0.8
    pts, at = [], 0
    for k in range(n):
        u = k / (n - 1)
        s = arc[-1] * (u - crowding * math.sin(2 * math.pi * u) / (2 * math.pi))
        while at < len(arc) - 2 and arc[at + 1] < s:
            at += 1
        w = (s - arc[at]) / (arc[at + 1] - arc[at])
        x = line[at][0] + w * (line[at + 1][0] - line[at][0])
        pts.append((x, radius(x)))
    pts[0] = (0.0, 0.0)
    pts[-1] = (length, 0.0)
    return pts


write("spheroid.body", "Prolate spheroid, axis ratio 4", spheroid())
write("ovoid.body", "Rankine ovoid", ovoid())
write("ogive-cylinder.body", "Tangent ogive on a cylinder", ogive_cylinder())
write("suboff.body", "DARPA SUBOFF bare hull, feet", suboff())
