#!/usr/bin/env python3
"""Draws docs/myring-sweep.png: a sweep of Myring hulls of fineness ratio 4 to 12 (nose 1.5 d,
tail 2.5 d, n = 2, theta = 20 degrees, the midbody's length swept), their least Cp and their
added-mass coefficients k1 and k2 (extrapolated) against the fineness ratio L/d.

With matplotlib where it is installed; otherwise as an SVG chart of its own, turned into PNG by
rsvg-convert (librsvg2-bin, which the package's build needs anyway).
Usage: PYTHONPATH=build-test/python scripts/plot-myring-sweep.py [OUT.png] [dask]
  dask: run the sweep on a LocalCluster of two worker processes instead of serially.
"""
import os
import subprocess
import sys
import tempfile

import tarvenol as tv

D = 0.2
RATIOS = [4 + 0.25 * k for k in range(33)]
SERIES = [("Cp_min", "least Cp"), ("k1_extrapolated", "k1"), ("k2_extrapolated", "k2")]


def designs():
    return [{"family": "myring", "a": 1.5 * D, "b": (ratio - 4) * D, "c": 2.5 * D, "d": D,
             "n": 2, "theta": 20, "ni": 100, "nj": 32} for ratio in RATIOS]


def with_matplotlib(rows, out):
    import matplotlib
    matplotlib.use("Agg")
    import matplotlib.pyplot as plt
    fig, axes = plt.subplots(1, 2, figsize=(9, 3.6))
    axes[0].plot(RATIOS, [r["Cp_min"] for r in rows], "o-", color="tab:red")
    axes[0].set(xlabel="fineness ratio L/d", ylabel="least Cp")
    for key, label in SERIES[1:]:
        axes[1].plot(RATIOS, [r[key] for r in rows], "o-", label=label)
    axes[1].set(xlabel="fineness ratio L/d", ylabel="added-mass coefficient")
    axes[1].legend()
    fig.suptitle("Myring hulls: nose 1.5 d, tail 2.5 d, n = 2, theta = 20 deg, 100 x 32 panels")
    fig.tight_layout()
    fig.savefig(out, dpi=100)


def chart(x0, y0, w, h, xs, series, ylabel, colours):
    """An SVG line chart at (x0, y0) of size w x h: round ticks, one polyline a series."""
    lo = min(min(ys) for _, ys in series)
    hi = max(max(ys) for _, ys in series)
    span = hi - lo
    step = next(s for s in (0.01, 0.02, 0.05, 0.1, 0.2, 0.5, 1) if span / s <= 6)
    lo, hi = step * (lo // step), step * (hi // step + 1)
    X = lambda x: x0 + (x - xs[0]) / (xs[-1] - xs[0]) * w
    Y = lambda y: y0 + h - (y - lo) / (hi - lo) * h
    parts = [f'<rect x="{x0}" y="{y0}" width="{w}" height="{h}" fill="none" stroke="#444"/>']
    tick = lo
    while tick <= hi + step / 2:
        parts.append(f'<line x1="{x0}" x2="{x0 + w}" y1="{Y(tick):.1f}" y2="{Y(tick):.1f}" '
                     f'stroke="#ddd"/><text x="{x0 - 6}" y="{Y(tick) + 4:.1f}" '
                     f'text-anchor="end">{tick:.2f}</text>')
        tick += step
    for ratio in range(int(xs[0]), int(xs[-1]) + 1, 2):
        parts.append(f'<text x="{X(ratio):.1f}" y="{y0 + h + 18}" '
                     f'text-anchor="middle">{ratio}</text>')
    parts.append(f'<text x="{x0 + w / 2}" y="{y0 + h + 38}" text-anchor="middle">'
                 f'fineness ratio L/d</text>')
    parts.append(f'<text transform="translate({x0 - 52},{y0 + h / 2}) rotate(-90)" '
                 f'text-anchor="middle">{ylabel}</text>')
    for k, ((label, ys), colour) in enumerate(zip(series, colours)):
        points = " ".join(f"{X(x):.1f},{Y(y):.1f}" for x, y in zip(xs, ys))
        parts.append(f'<polyline points="{points}" fill="none" stroke="{colour}" '
                     f'stroke-width="2"/>')
        parts += [f'<circle cx="{X(x):.1f}" cy="{Y(y):.1f}" r="2.5" fill="{colour}"/>'
                  for x, y in zip(xs, ys)]
        if len(series) > 1:
            parts.append(f'<text x="{x0 + w - 10}" y="{y0 + h / 2 + 18 * k}" text-anchor="end" '
                         f'fill="{colour}">{label}</text>')
    return parts


def with_svg(rows, out):
    parts = ['<svg xmlns="http://www.w3.org/2000/svg" width="900" height="360" '
             'font-family="DejaVu Sans" font-size="13">',
             '<rect width="900" height="360" fill="white"/>',
             '<text x="450" y="24" text-anchor="middle" font-size="15">Myring hulls: nose 1.5 d, '
             'tail 2.5 d, n = 2, theta = 20 deg, 100 x 32 panels</text>']
    parts += chart(90, 50, 330, 240, RATIOS, [("least Cp", [r["Cp_min"] for r in rows])],
                   "least Cp", ["#c0392b"])
    parts += chart(540, 50, 330, 240, RATIOS,
                   [(label, [r[key] for r in rows]) for key, label in SERIES[1:]],
                   "added-mass coefficient", ["#1f77b4", "#ff7f0e"])
    parts.append("</svg>")
    with tempfile.NamedTemporaryFile("w", suffix=".svg", delete=False) as f:
        f.write("\n".join(parts))
    try:
        subprocess.run(["rsvg-convert", "--output", out, f.name], check=True)
    finally:
        os.unlink(f.name)


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else "docs/myring-sweep.png"
    if "dask" in sys.argv[2:]:
        from distributed import Client, LocalCluster
        with LocalCluster(n_workers=2, threads_per_worker=1, processes=True,
                          dashboard_address=None) as cluster, Client(cluster) as client:
            rows = tv.sweep(designs(), client=client)
    else:
        rows = tv.sweep(designs())
    failed = [r["error"] for r in rows if r["error"]]
    if failed:
        sys.exit("\n".join(failed))
    for ratio, row in zip(RATIOS, rows):
        print(f"{ratio:5.2f} {row['Cp_min']:9.5f} {row['k1_extrapolated']:8.5f} "
              f"{row['k2_extrapolated']:8.5f}")
    try:
        with_matplotlib(rows, out)
    except ImportError:
        with_svg(rows, out)


if __name__ == "__main__":
    main()
