#!/usr/bin/env python3
"""Fails when a source of the library includes a header of a layer above its own.

The library's folders are layers, lowest first; a file may include headers of its own layer and of
the layers below it, never of one above. A folder's Windows subfolder belongs to its layer. The
public header is the exports' alone."""
import pathlib
import re
import sys

LAYERS = ["base", "platform", "drawing", "symbologies", "engine", "writers", "outputs", "api"]
INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"')

source = pathlib.Path(__file__).resolve().parent.parent / "src"
problems = []
for path in sorted(source.rglob("*")):
    if path.suffix not in (".h", ".cpp"):
        continue
    layer = path.relative_to(source).parts[0]
    if layer not in LAYERS:
        problems.append(f"{path.relative_to(source)}: in no layer (folders: {', '.join(LAYERS)})")
        continue
    for number, line in enumerate(path.read_text().splitlines(), 1):
        match = INCLUDE.match(line)
        if not match:
            continue
        included = match.group(1)
        where = f"{path.relative_to(source)}:{number}"
        if included == "varnel32.h":
            if layer != "api":
                problems.append(f"{where}: the public header is for the exports only")
            continue
        target = included.split("/")[0]
        if target not in LAYERS:
            problems.append(f"{where}: \"{included}\" is in no layer")
        elif LAYERS.index(target) > LAYERS.index(layer):
            problems.append(f"{where}: {layer} includes \"{included}\", a layer above it")

for problem in problems:
    print(problem)
if problems:
    sys.exit(f"check-layers: {len(problems)} include(s) against the layers {' < '.join(LAYERS)}")
print(f"check-layers: every include looks down ({' < '.join(LAYERS)})")
