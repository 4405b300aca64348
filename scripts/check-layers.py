#!/usr/bin/env python3
"""Checks that the folder tree under src/ is the program's dependency drawing.

Each folder is one library, tarvenol_<folder>, on a floor of its own. A library may include
headers of, and link, only its own folder and libraries on lower floors; two libraries on the
same floor know nothing of each other. Every library a file includes from must be reachable
through the library's links. Prints the drawing and exits 1 on the first kind of fault found.
"""
import pathlib
import re
import sys

FLOORS = [
    ["core"],
    ["geometry", "view", "report", "raster"],
    ["solver"],
    ["results", "field", "boundary_layer"],
    ["session", "study"],
    ["plot"],
    ["batch", "ui", "python"],
]
FLOOR = {lib: n for n, libs in enumerate(FLOORS) for lib in libs}

root = pathlib.Path(__file__).resolve().parent.parent
src = root / "src"
faults = []

folders = sorted(p.name for p in src.iterdir() if p.is_dir())
for folder in folders:
    if folder not in FLOOR:
        faults.append(f"src/{folder} is on no floor: add it to FLOORS in {__file__}")

links = {}
for lib in FLOOR:
    cmake = src / lib / "CMakeLists.txt"
    text = cmake.read_text() if cmake.exists() else ""
    if not re.search(rf"add_library\(tarvenol_{lib}\b", text):
        faults.append(f"src/{lib}/CMakeLists.txt does not make the library tarvenol_{lib}")
    call = re.search(rf"target_link_libraries\(tarvenol_{lib}\b([^)]*)\)", text)
    links[lib] = set(re.findall(r"\btarvenol_(\w+)", call.group(1))) if call else set()
    for other in sorted(links[lib]):
        if other == "options":
            continue
        if other not in FLOOR or FLOOR[other] >= FLOOR[lib]:
            faults.append(f"tarvenol_{lib} links tarvenol_{other}, which is not below it")
    links[lib].discard("options")


def reachable(lib):
    seen, todo = set(), [lib]
    while todo:
        for other in links.get(todo.pop(), ()):
            if other not in seen:
                seen.add(other)
                todo.append(other)
    return seen


include = re.compile(r'^\s*#\s*include\s+"(\w+)/')
for lib in FLOOR:
    below = reachable(lib)
    for path in sorted((src / lib).glob("*")):
        if path.suffix not in (".h", ".cpp"):
            continue
        for number, line in enumerate(path.read_text().splitlines(), 1):
            m = include.match(line)
            if not m or m.group(1) == lib:
                continue
            other = m.group(1)
            where = f"{path.relative_to(root)}:{number}"
            if other not in FLOOR:
                faults.append(f"{where} includes from {other}/, which is no library")
            elif FLOOR[other] >= FLOOR[lib]:
                faults.append(f"{where} includes {other}/, which is not below {lib}")
            elif other not in below:
                faults.append(f"{where} includes {other}/, which tarvenol_{lib} does not link")

for n, libs in reversed(list(enumerate(FLOORS))):
    print(f"floor {n}: " + "; ".join(
        f"{lib} -> {', '.join(sorted(links[lib])) or '(nothing of ours)'}" for lib in libs))
for fault in faults:
    print("fault: " + fault, file=sys.stderr)
sys.exit(1 if faults else 0)
