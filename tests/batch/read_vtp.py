#!/usr/bin/env python3
"""The VTK file of a solved body, read back with VTK's own reader, as ParaView reads it.

Runs the batch tool on the sphere, then checks the file against the report of the same run:
one polygon per panel, each facing out of the body, and the source strengths and 1 - Cp that
the report shows. Exit status 0, 1 for a fault, 77 when VTK's Python module is not installed.
"""
import math
import os
import subprocess
import sys
import tempfile

try:
    from vtkmodules.vtkIOXML import vtkXMLPolyDataReader
except ImportError:
    print("skipped: VTK's Python module (python3-vtk9) is not installed")
    sys.exit(77)

NI, NJ = 12, 16


def section(report, title, rows):
    """The values of a panel section of the report, row by row."""
    lines = report.split("\r\n")
    start = lines.index(title) + 2
    return [[float(v) for v in lines[start + i].split()] for i in range(rows)]


def main(batch):
    faults = []
    with tempfile.TemporaryDirectory() as work:
        subprocess.run([batch, "ni", str(NI), "nj", str(NJ), "sphere", "solve", "vtk", "s.vtp",
                        "alpha", "30", "vtk", "a.vtp"], cwd=work, check=True)
        with open(os.path.join(work, "Tarvenol.txt"), newline="") as f:
            report = f.read()
        reader = vtkXMLPolyDataReader()
        reader.SetFileName(os.path.join(work, "s.vtp"))
        reader.Update()
        data = reader.GetOutput()
        # The panels at an angle of attack carry it as field data.
        at_angle = vtkXMLPolyDataReader()
        at_angle.SetFileName(os.path.join(work, "a.vtp"))
        at_angle.Update()
        alpha = at_angle.GetOutput().GetFieldData().GetArray("alpha_deg")
        if alpha is None or alpha.GetValue(0) != 30:
            faults.append("the file made at 30 degrees does not carry alpha_deg = 30")
        if data.GetFieldData().GetArray("alpha_deg") is not None:
            faults.append("the file made at 0 degrees carries an angle")

    cells = data.GetNumberOfCells()
    if cells != NI * NJ:
        faults.append(f"{cells} cells, not {NI * NJ}")
    corners = 3 * 2 * NJ + 4 * (NI - 2) * NJ
    if data.GetNumberOfPoints() != corners:
        faults.append(f"{data.GetNumberOfPoints()} points, not {corners}")
    cell_data = data.GetCellData()
    arrays = {cell_data.GetArrayName(k): cell_data.GetArray(k)
              for k in range(cell_data.GetNumberOfArrays())}
    for name in ("source_strength", "velocity", "one_minus_Cp", "Cp", "area", "i", "j"):
        if name not in arrays:
            faults.append(f"no cell data {name}")
    if faults:
        return faults

    sigma = section(report, "Source strengths", NI)
    pressure = section(report, "1-Cp", NI)
    for m in range(cells):
        i, j = int(arrays["i"].GetValue(m)), int(arrays["j"].GetValue(m))
        if (i, j) != (m // NJ + 1, m % NJ + 1):
            faults.append(f"cell {m} is panel ({i}, {j})")
            break
        for name, table in (("source_strength", sigma), ("one_minus_Cp", pressure)):
            value = arrays[name].GetValue(m)
            if abs(value - table[i - 1][j - 1]) > 5.1e-7:
                faults.append(f"{name} of panel ({i}, {j}) is {value}, the report has "
                              f"{table[i - 1][j - 1]}")
        if abs(arrays["Cp"].GetValue(m) - (1 - arrays["one_minus_Cp"].GetValue(m))) > 1e-12:
            faults.append(f"Cp of panel ({i}, {j}) is not 1 - (1 - Cp)")
        speed2 = sum(c * c for c in arrays["velocity"].GetTuple3(m))
        if abs(speed2 - arrays["one_minus_Cp"].GetValue(m)) > 1e-9:
            faults.append(f"the speed of panel ({i}, {j}) does not square to 1 - Cp")
        # The polygon's normal, by its first three points, points away from the centre.
        ids = data.GetCell(m).GetPointIds()
        p = [data.GetPoint(ids.GetId(k)) for k in range(3)]
        a = [p[1][k] - p[0][k] for k in range(3)]
        b = [p[2][k] - p[0][k] for k in range(3)]
        normal = [a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]]
        out = [p[0][0] - 0.5, p[0][1], p[0][2]]
        if sum(n * o for n, o in zip(normal, out)) <= 0:
            faults.append(f"panel ({i}, {j}) faces into the body")
    area = sum(arrays["area"].GetValue(m) for m in range(cells))
    if not 0.9 * math.pi < area < math.pi:
        faults.append(f"the panels' areas add up to {area}, not a little under pi")
    return faults


if __name__ == "__main__":
    found = main(sys.argv[1])
    for fault in found[:10]:
        print("fault:", fault, file=sys.stderr)
    print("passed" if not found else f"{len(found)} faults")
    sys.exit(1 if found else 0)
