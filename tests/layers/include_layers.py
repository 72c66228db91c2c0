"""The game's code reads one way, from the bottom up:

  0. records and pure rules (game/): no SDL drawing, nothing of present/ or
     app/;
  1. presentation (present/), with the steps that draw: uses only layer 0;
  2. app/.

The build keeps the layers (one library per layer, each file compiled with
an include path of its own layer and those below: the top-level
CMakeLists.txt), and reports a wrong one as a header not found; this script
names it in words. It also reads what the build cannot see:

  - two files that use each other through any chain of includes (a .cpp and
    its own .h count as one file), also within one layer;
  - an include that does not name its folder ("ball.h", "../present/x.h"):
    it is found beside the including file, past the layer's include path;
  - a call to SDL's renderer in layer 0 (its tests, which link no SDL, catch
    it only in a file they use).

Usage: include_layers.py SOURCE_DIR    exit 0 when all is well, 1 otherwise
"""
import re
import sys
from pathlib import Path

FOLDERS = ("app", "game", "present")
NAMES = ("records and rules", "presentation", "app")


def layer(unit: str) -> int:
    if unit.startswith("app/"):
        return 2
    return 1 if unit.startswith("present/") else 0


def read_units(root: Path) -> tuple[dict[str, set[str]], dict[str, str], list[str]]:
    edges, texts, unnamed = {}, {}, []
    for folder in FOLDERS:
        for path in sorted((root / folder).glob("*.[ch]*")):
            unit = f"{folder}/{path.stem}"
            text = path.read_text()
            texts[unit] = texts.get(unit, "") + text
            for included in re.findall(r'#include "([^"]+)"', text):
                target = included.rsplit(".", 1)[0]
                if target.split("/")[0] not in FOLDERS or ".." in target.split("/"):
                    unnamed.append(f'{folder}/{path.name} includes "{included}" without its folder')
                elif target != unit:
                    edges.setdefault(unit, set()).add(target)
    return edges, texts, unnamed


def circles(edges: dict[str, set[str]]) -> list[list[str]]:
    """Groups of files that reach each other through their includes."""
    reach = {u: set() for u in edges}
    for start in edges:
        todo = list(edges[start])
        while todo:
            unit = todo.pop()
            if unit not in reach[start]:
                reach[start].add(unit)
                todo.extend(edges.get(unit, ()))
    groups = {frozenset(u for u in reach if u == a or (u in reach[a] and a in reach[u]))
              for a in reach}
    return sorted(sorted(g) for g in groups if len(g) > 1)


def main() -> int:
    edges, texts, faults = read_units(Path(sys.argv[1]))
    for unit, targets in sorted(edges.items()):
        for target in sorted(targets):
            if layer(target) > layer(unit):
                arrow = f"{unit} ({NAMES[layer(unit)]}) includes {target} ({NAMES[layer(target)]})"
                faults.append(arrow)
    for unit, text in sorted(texts.items()):
        if layer(unit) == 0 and re.search(r"\bSDL_Render\w*\(", text):
            faults.append(f"{unit} ({NAMES[0]}) draws with SDL's renderer")
    faults += ["a circle: " + " <-> ".join(group) for group in circles(edges)]
    for fault in faults:
        print(fault)
    print(f"{len(edges)} files with includes read; {len(faults)} faults")
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
