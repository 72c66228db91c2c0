"""What a Windows player downloads: VombaPong-<version>-win64.zip, read as it is.

One folder holds VombaPong.exe with the game's 36 files beside it, the same
bytes as the Linux build's (the Windows build draws them with its own
generator under Wine), a README for Windows players, and the licence of every
part the .exe contains. The .exe is a windowed program (no console window),
needs no DLL but Windows' own, and carries our icon and its version.

Usage: test_zip.py --zip ZIP --game-dir BUILD/game --version X.Y.Z
Needs the MinGW-w64 objdump, which make windows installs.
"""

from __future__ import annotations

import argparse
import re
import subprocess
import sys
import tempfile
import zipfile
from pathlib import Path

# The licences, each with a phrase that shows it is the right text.
LICENCES = {
    "LICENSE.txt": "VombaPong",
    "licenses/SDL2.txt": "Sam Lantinga",
    "licenses/SDL2_mixer.txt": "Sam Lantinga",
    "licenses/GCC-runtime.txt": "GCC RUNTIME LIBRARY EXCEPTION",
    "licenses/MinGW-w64-runtime.txt": "winpthreads",
}
# DLLs every Windows has; anything else would have to ship beside the .exe.
SYSTEM_DLLS = {"advapi32", "gdi32", "imm32", "kernel32", "msvcrt", "ole32", "oleaut32",
               "setupapi", "shell32", "user32", "version", "winmm"}
PNG = b"\x89PNG\r\n\x1a\n"
ICON_SIZES = {16, 32, 48, 256}  # at least these, each stored as a PNG


def check(zip_path: Path, game_dir: Path, version: str) -> list[str]:
    folder = f"VombaPong-{version}-win64/"
    with zipfile.ZipFile(zip_path) as archive:
        names = [n for n in archive.namelist() if not n.endswith("/")]
        problems = [f"{n} is outside the one folder {folder}" for n in names
                    if not n.startswith(folder)]
        files = {n[len(folder):]: archive.read(n) for n in names if n.startswith(folder)}

    game = {p.name: p.read_bytes() for p in game_dir.iterdir() if p.suffix in (".bmp", ".wav")}
    if len(game) != 36:
        problems.append(f"the Linux build has {len(game)} game files in {game_dir}, not 36")
    problems += [f"{name} differs from the Linux build's" for name, data in sorted(game.items())
                 if name in files and files[name] != data]
    expected = set(game) | set(LICENCES) | {"VombaPong.exe", "README.txt"}
    if set(files) != expected:
        problems.append(f"unexpected files {sorted(set(files) - expected)}, "
                        f"missing {sorted(expected - set(files))}")
    problems += [f"{name} does not say {phrase!r}" for name, phrase in LICENCES.items()
                 if phrase.encode() not in files.get(name, b"")]
    readme = files.get("README.txt", b"")
    if not all(word in readme for word in (b"VombaPong.exe", version.encode(), b"\r\n")):
        problems.append("README.txt is not the Windows players' README with Windows line ends")
    return problems + check_exe(files.get("VombaPong.exe", b""), version)


def check_exe(exe: bytes, version: str) -> list[str]:
    with tempfile.NamedTemporaryFile(suffix=".exe") as copy:
        copy.write(exe)
        copy.flush()
        dump = subprocess.run(["x86_64-w64-mingw32-objdump", "-p", copy.name],
                              capture_output=True, text=True).stdout
    problems = []
    if not re.search(r"^Subsystem\s+00000002", dump, re.M):  # 3 opens a console window
        problems.append("VombaPong.exe is not a windowed program (subsystem 2)")
    dlls = {d.lower() for d in re.findall(r"DLL Name: (\S+)\.dll", dump, re.I)}
    if not dlls or dlls - SYSTEM_DLLS:
        problems.append(f"needs DLLs that Windows does not have: {sorted(dlls - SYSTEM_DLLS)}")
    # The icon's PNGs carry their width in their header; 256 is the largest.
    sizes = {int.from_bytes(exe[at + 16:at + 20], "big") for at in
             (m.start() for m in re.finditer(re.escape(PNG), exe))}
    if not ICON_SIZES <= sizes:
        problems.append(f"the icon has the sizes {sorted(sizes)}; wanted {sorted(ICON_SIZES)}")
    # The version information: UTF-16 keys and values, each ending in a null,
    # a value padded to a 4-byte edge.
    for key, value in (("ProductName", "VombaPong"), ("FileVersion", version)):
        text = (re.escape(f"{key}\0".encode("utf-16-le")) + b"(?:\0\0)?" +
                re.escape(f"{value}\0".encode("utf-16-le")))
        if not re.search(text, exe):
            problems.append(f"the version information has no {key} {value}")
    return problems


def main() -> None:
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--zip", type=Path, required=True)
    parser.add_argument("--game-dir", type=Path, required=True)
    parser.add_argument("--version", required=True)
    args = parser.parse_args()
    if not args.zip.exists():
        sys.exit(f"FAILED: {args.zip} is missing: make windows builds it")
    problems = check(args.zip, args.game_dir, args.version)
    for problem in problems:
        print(f"FAILED: {problem}")
    if problems:
        sys.exit(1)
    print(f"{args.zip.name}: every file in place, the same game files as {args.game_dir}, "
          "a windowed .exe with its icon and version that needs no DLL of ours")


if __name__ == "__main__":
    main()
