#!/usr/bin/env python3
"""Draws docs/mach-spheroid.png: Cp along the 4:1 spheroid of examples/ at M = 0, 0.5 and 0.7
by Goethert's rule, on the meridian j = 1, with the critical Mach numbers in the title; from the
batch tool's CSV tables and body-figures. An SVG chart of its own, turned into PNG by
rsvg-convert (librsvg2-bin, which the package's build needs anyway).
Usage: scripts/plot-mach.py [BATCH] [OUT.png]
"""
import csv
import os
import subprocess
import sys
import tempfile

MACHS = [("0", "#444444"), ("0.5", "#1f77b4"), ("0.7", "#c0392b")]
HERE = os.path.dirname(os.path.abspath(__file__))


def run(batch, folder, *actions):
    body = os.path.join(HERE, "..", "examples", "spheroid.body")
    done = subprocess.run([batch, "nj", "32", "body", body, "solve-symmetric", *actions],
                          cwd=folder, capture_output=True, text=True, check=True)
    return dict(line.split() for line in done.stdout.splitlines())


def meridian(path):
    with open(path, newline="") as f:
        rows = [r for r in csv.DictReader(f) if r["j"] == "1"]
    return [float(r["xC"]) for r in rows], [float(r["Cp"]) for r in rows]


def svg(curves, title):
    x0, y0, w, h = 90, 60, 760, 300
    # The suction, where the Mach number shows; the stagnation points' pressure, beyond the
    # chart, is what linear theory overstates.
    lo, hi, step = -0.25, 0.25, 0.05
    X = lambda x: x0 + x * w
    Y = lambda y: y0 + (y - lo) / (hi - lo) * h  # Cp downwards, suction up
    parts = ['<svg xmlns="http://www.w3.org/2000/svg" width="900" height="430" '
             'font-family="DejaVu Sans" font-size="13">', '<rect width="900" height="430" '
             'fill="white"/>', f'<text x="450" y="24" text-anchor="middle" font-size="15">'
             f'{title[0]}</text>', f'<text x="450" y="44" text-anchor="middle">{title[1]}</text>',
             f'<rect x="{x0}" y="{y0}" width="{w}" height="{h}" fill="none" stroke="#444"/>']
    parts.append(f'<clipPath id="plot"><rect x="{x0}" y="{y0}" width="{w}" height="{h}"/>'
                 '</clipPath>')
    for k in range(round((hi - lo) / step) + 1):
        tick = lo + step * k
        parts.append(f'<line x1="{x0}" x2="{x0 + w}" y1="{Y(tick):.1f}" y2="{Y(tick):.1f}" '
                     f'stroke="#ddd"/><text x="{x0 - 6}" y="{Y(tick) + 4:.1f}" '
                     f'text-anchor="end">{tick:.2f}</text>')
    for k in range(6):
        parts.append(f'<text x="{X(0.2 * k):.1f}" y="{y0 + h + 18}" '
                     f'text-anchor="middle">{0.2 * k:.1f}</text>')
    parts.append(f'<text x="{x0 + w / 2}" y="{y0 + h + 38}" text-anchor="middle">x</text>')
    parts.append(f'<text transform="translate({x0 - 52},{y0 + h / 2}) rotate(-90)" '
                 f'text-anchor="middle">Cp (suction up)</text>')
    for k, (label, colour, xs, cps) in enumerate(curves):
        points = " ".join(f"{X(x):.1f},{Y(y):.1f}" for x, y in zip(xs, cps))
        parts.append(f'<polyline points="{points}" fill="none" stroke="{colour}" '
                     f'stroke-width="2" clip-path="url(#plot)"/>')
        parts.append(f'<text x="{x0 + w / 2}" y="{y0 + 200 + 18 * k}" text-anchor="middle" '
                     f'fill="{colour}">{label}</text>')
    parts.append("</svg>")
    return "\n".join(parts)


def main():
    batch = sys.argv[1] if len(sys.argv) > 1 else "build-test/apps/tarvenol-batch/tarvenol-batch"
    out = os.path.abspath(sys.argv[2] if len(sys.argv) > 2 else "docs/mach-spheroid.png")
    with tempfile.TemporaryDirectory() as folder:
        actions = []
        for mach, _ in MACHS:
            actions += ["mach", mach, "csv", f"m{mach}.csv"]
        figures = run(os.path.abspath(batch), folder, *actions, "body-figures")
        kt = run(os.path.abspath(batch), folder, "mach", "0.7", "karman-tsien", "body-figures")
        curves = []
        for mach, colour in MACHS:
            xs, cps = meridian(os.path.join(folder, f"m{mach}.csv"))
            curves.append((f"M = {mach}, least Cp {min(cps):.4f}", colour, xs, cps))
        title = ("Cp along the 4:1 spheroid by Göthert's rule, 40 × 32 panels",
                 f"critical Mach number {float(figures['M_critical']):.4f} "
                 f"({float(kt['M_critical']):.4f} with Kármán–Tsien)")
        with open(os.path.join(folder, "mach.svg"), "w") as f:
            f.write(svg(curves, title))
        subprocess.run(["rsvg-convert", "--output", out, os.path.join(folder, "mach.svg")],
                       check=True)
        print(title[1])


if __name__ == "__main__":
    main()
