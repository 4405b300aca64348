#!/usr/bin/env python3
"""The flow field's VTK files read back with VTK's own readers, as ParaView reads them.

Runs the batch tool on the sphere at 10 degrees and writes the field as a structured grid
(.vts) and as image data (.vti); checks the grid's size and place, the arrays, the angle, and
that the masked points are those inside the body and carry no numbers. Exit status 0, 1 for a
fault, 77 when VTK's Python module is not installed.
"""
import math
import os
import subprocess
import sys
import tempfile

try:
    from vtkmodules.vtkIOXML import vtkXMLImageDataReader, vtkXMLStructuredGridReader
except ImportError:
    print("skipped: VTK's Python module (python3-vtk9) is not installed")
    sys.exit(77)

N = 200          # points along x and y
R = 0.5          # the sphere's radius, centre (0.5, 0, 0)
NJ = 16          # a meridian lies in z = 0: the section there is the profile itself


def read(reader_type, path):
    reader = reader_type()
    reader.SetFileName(path)
    reader.Update()
    return reader.GetOutput()


def check(data, name):
    faults = []
    if tuple(data.GetDimensions()) != (N, N, 1):
        return [f"{name}: dimensions {data.GetDimensions()}, not ({N}, {N}, 1)"]
    alpha = data.GetFieldData().GetArray("alpha_degrees")
    if alpha is None or alpha.GetValue(0) != 10:
        faults.append(f"{name}: no field data alpha_degrees of 10")
    points = data.GetPointData()
    arrays = {n: points.GetArray(n) for n in ("velocity", "speed", "Cp", "masked", "vtkGhostType")}
    for n, a in arrays.items():
        if a is None:
            faults.append(f"{name}: no point data {n}")
    if faults:
        return faults
    if arrays["velocity"].GetNumberOfComponents() != 3:
        faults.append(f"{name}: the velocity has not three components")
    masked = 0
    inner = R * math.cos(math.pi / NJ)
    for k in range(N * N):
        x, y, _ = data.GetPoint(k)
        r = math.hypot(x - R, y)
        hidden = arrays["masked"].GetValue(k) == 1
        if (arrays["vtkGhostType"].GetValue(k) == 2) != hidden:
            faults.append(f"{name}: point {k} is masked but not hidden, or hidden but not masked")
        speed, cp = arrays["speed"].GetValue(k), arrays["Cp"].GetValue(k)
        V = arrays["velocity"].GetTuple3(k)
        if hidden:
            masked += 1
            if r > R + 0.002:
                faults.append(f"{name}: point ({x}, {y}) is masked, outside the sphere")
            if not (math.isnan(cp) and math.isnan(speed) and all(math.isnan(v) for v in V)):
                faults.append(f"{name}: masked point ({x}, {y}) carries a number")
        else:
            if r < inner:
                faults.append(f"{name}: point ({x}, {y}) inside the sphere is not masked")
            if abs(math.sqrt(sum(v * v for v in V)) - speed) > 1e-12 or \
                    abs(cp - (1 - speed * speed)) > 1e-12:
                faults.append(f"{name}: at ({x}, {y}) the speed and Cp do not agree with V")
        if len(faults) > 10:
            return faults
    # The section's area over the cell's.
    expected = math.pi * R * R / (2 / (N - 1)) ** 2
    if not 0.95 * expected < masked < 1.05 * expected:
        faults.append(f"{name}: {masked} points masked, not about {expected:.0f}")
    return faults


def main(batch):
    with tempfile.TemporaryDirectory() as work:
        subprocess.run([batch, "ni", "16", "nj", str(NJ), "sphere", "solve", "alpha", "10",
                        "field-vtk", "f.vts", "field-vtk", "f.vti"], cwd=work, check=True)
        grid = read(vtkXMLStructuredGridReader, os.path.join(work, "f.vts"))
        image = read(vtkXMLImageDataReader, os.path.join(work, "f.vti"))
    faults = check(grid, "f.vts") + check(image, "f.vti")
    # Both lie over the same points, from (-0.5, -1) to (1.5, 1).
    for k in (0, N - 1, N * N - 1, 12345):
        a, b = grid.GetPoint(k), image.GetPoint(k)
        if max(abs(u - v) for u, v in zip(a, b)) > 1e-12:
            faults.append(f"point {k} is {a} in the grid and {b} in the image")
    if max(abs(u - v) for u, v in zip(grid.GetPoint(0), (-0.5, -1, 0))) > 1e-12 or \
            max(abs(u - v) for u, v in zip(grid.GetPoint(N * N - 1), (1.5, 1, 0))) > 1e-12:
        faults.append("the grid does not span (-0.5, -1) to (1.5, 1)")
    return faults


if __name__ == "__main__":
    found = main(sys.argv[1])
    for fault in found[:10]:
        print("fault:", fault, file=sys.stderr)
    print("passed" if not found else f"{len(found)} faults")
    sys.exit(1 if found else 0)
