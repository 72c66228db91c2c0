"""The code reads one way, from the bottom up, as the layer map says: each
layer sees only the layers it names, and those they see.

The build keeps the layers (every file of a layer compiled from the layer's
own folder in the build tree, with the folders of the layers it sees on the
include path: the top-level CMakeLists.txt), and reports a wrong include as a
header not found; this script names it in words. It reads the map that CMake
writes (BUILD_DIR/layers/map.json) and also reads what the build cannot see:

  - two files that use each other through any chain of includes (a .cpp and
    its own .h count as one file), also within one layer;
  - an include through ".." or, outside the generator's one folder, without
    its folder: it reads as if it reached past the layer's include path;
  - a file of the code's folders that is in no layer of the map;
  - a source of a layer compiled from anywhere but its layer's folder
    (BUILD_DIR/compile_commands.json), which would let "../" and bare
    includes reach past the layers;
  - a call to SDL's renderer in the rules (their tests, which link no SDL,
    catch it only in a file they use).

Usage: include_layers.py SOURCE_DIR BUILD_DIR    exit 0 when all is well, 1 otherwise
"""
import json
import posixpath
import re
import sys
from pathlib import Path

RULES = "vomba_rules"
# The generator's files sit in one folder and name each other bare.
BARE_ALLOWED = ("tools",)


def read_map(build: Path) -> tuple[dict[str, str], dict[str, set[str]]]:
    """Each file's layer, and each layer with every layer it sees, however far down."""
    entries = json.loads((build / "layers" / "map.json").read_text())
    layer_of = {f: e["layer"] for e in entries for f in e["files"]}
    direct = {e["layer"]: set(e["sees"]) for e in entries}
    sees = {}
    for layer in direct:
        seen, todo = set(), list(direct[layer])
        while todo:
            below = todo.pop()
            if below not in seen:
                seen.add(below)
                todo.extend(direct.get(below, ()))
        sees[layer] = seen | {layer}
    return layer_of, sees


def unit(path: str) -> str:
    return path.rsplit(".", 1)[0]


def main() -> int:
    root, build = Path(sys.argv[1]), Path(sys.argv[2])
    layer_of, sees = read_map(build)
    faults, edges, texts = [], {}, {}
    folders = sorted({f.split("/")[0] for f in layer_of})
    for folder in folders:
        for path in sorted(p for p in (root / folder).iterdir() if p.suffix in (".h", ".cpp")):
            name = f"{folder}/{path.name}"
            if name not in layer_of:
                faults.append(f"{name} is in no layer of the map (CMakeLists.txt)")
    for name, layer in sorted(layer_of.items()):
        text = (root / name).read_text()
        texts[unit(name)] = texts.get(unit(name), "") + text
        folder = posixpath.dirname(name)
        for included in re.findall(r'#include "([^"]+)"', text):
            if ".." in included.split("/") or ("/" not in included and folder not in BARE_ALLOWED):
                faults.append(f'{name} includes "{included}" without its folder')
            target = posixpath.normpath(posixpath.join(folder, included))
            if target not in layer_of:
                target = posixpath.normpath(included)
            if target not in layer_of:
                continue  # a system header, or one the build will not find
            if layer_of[target] not in sees[layer]:
                faults.append(f"{name} ({layer}) includes {target} ({layer_of[target]})")
            if unit(target) != unit(name):
                edges.setdefault(unit(name), set()).add(unit(target))
        if layer == RULES and re.search(r"\bSDL_Render\w*\(", text):
            faults.append(f"{name} ({RULES}) draws with SDL's renderer")
    commands = build / "compile_commands.json"
    for command in json.loads(commands.read_text()) if commands.exists() else []:
        compiled = Path(command["file"])
        if compiled.is_relative_to(root) and not compiled.is_relative_to(build):
            name = compiled.relative_to(root).as_posix()
            if name in layer_of:
                faults.append(f"{name} is compiled from the source tree, not its layer's folder")
    faults += ["a circle: " + " <-> ".join(group) for group in circles(edges)]
    for fault in faults:
        print(fault)
    print(f"{len(layer_of)} files of {len(sees)} layers read; {len(faults)} faults")
    return 1 if faults else 0


def circles(edges: dict[str, set[str]]) -> list[list[str]]:
    """Groups of files that reach each other through their includes."""
    reach = {u: set() for u in edges}
    for start in edges:
        todo = list(edges[start])
        while todo:
            node = todo.pop()
            if node not in reach[start]:
                reach[start].add(node)
                todo.extend(edges.get(node, ()))
    groups = {frozenset(u for u in reach if u == a or (u in reach[a] and a in reach[u]))
              for a in reach}
    return sorted(sorted(g) for g in groups if len(g) > 1)


if __name__ == "__main__":
    sys.exit(main())
