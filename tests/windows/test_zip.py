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
import hashlib
import re
import struct
import subprocess
import sys
import zipfile
from pathlib import Path

OBJDUMP = "x86_64-w64-mingw32-objdump"
WINDOWED_SUBSYSTEM = 2  # 3 would open a console window beside the game
ICON_SIZES = {16, 32, 48, 256}  # at least these, among what Windows picks from
# The licences and a phrase that shows each is the right text.
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
RT_ICON, RT_GROUP_ICON, RT_VERSION = 3, 14, 16


def sha256(data: bytes) -> str:
    return hashlib.sha256(data).hexdigest()


def resources(exe: bytes) -> dict[int, list[bytes]]:
    """The .exe's resources by type: the data of every entry, in any language."""
    pe = struct.unpack_from("<I", exe, 0x3C)[0]
    sections, optional_size = struct.unpack_from("<H12xH", exe, pe + 6)
    table = pe + 24 + optional_size
    for i in range(sections):
        name, _, virtual, _, raw = struct.unpack_from("<8sIIII", exe, table + 40 * i)
        if name.rstrip(b"\0") == b".rsrc":
            break
    else:
        return {}

    def entries(directory: int):
        named, numbered = struct.unpack_from("<12xHH", exe, raw + directory)
        for n in range(named + numbered):
            key, target = struct.unpack_from("<II", exe, raw + directory + 16 + 8 * n)
            yield key, target

    found: dict[int, list[bytes]] = {}
    for kind, by_name in entries(0):
        for _, by_language in entries(by_name & 0x7FFFFFFF):
            for _, leaf in entries(by_language & 0x7FFFFFFF):
                address, size = struct.unpack_from("<II", exe, raw + leaf)
                start = raw + address - virtual
                found.setdefault(kind, []).append(exe[start:start + size])
    return found


def check(zip_path: Path, game_dir: Path, version: str) -> list[str]:
    folder = f"VombaPong-{version}-win64/"
    problems = []
    with zipfile.ZipFile(zip_path) as archive:
        members = {info.filename: archive.read(info) for info in archive.infolist()
                   if not info.is_dir()}
    outside = [name for name in members if not name.startswith(folder)]
    if outside:
        problems.append(f"outside the one folder {folder}: {outside}")
    files = {name[len(folder):]: data for name, data in members.items()}

    game = {p.name: p.read_bytes() for p in game_dir.iterdir() if p.suffix in (".bmp", ".wav")}
    if len(game) != 36:
        problems.append(f"the Linux build has {len(game)} game files in {game_dir}, not 36")
    for name, data in sorted(game.items()):
        if name not in files:
            problems.append(f"{name} is missing")
        elif sha256(files[name]) != sha256(data):
            problems.append(f"{name} differs from the Linux build's")
    expected = set(game) | set(LICENCES) | {"VombaPong.exe", "README.txt"}
    if set(files) != expected:
        problems.append(f"unexpected files {sorted(set(files) - expected)}, "
                        f"missing {sorted(expected - set(files))}")
    for name, phrase in LICENCES.items():
        if phrase not in files.get(name, b"").decode("utf-8", "replace"):
            problems.append(f"{name} does not say {phrase!r}")
    readme = files.get("README.txt", b"").decode("utf-8", "replace")
    if "VombaPong.exe" not in readme or version not in readme or "\r\n" not in readme:
        problems.append("README.txt is not the Windows players' README with Windows line ends")

    exe = files.get("VombaPong.exe", b"")
    if not exe.startswith(b"MZ"):
        return problems + ["VombaPong.exe is not a Windows program"]
    problems += check_exe(zip_path.parent / "VombaPong.exe.checked", exe, version)
    return problems


def check_exe(scratch: Path, exe: bytes, version: str) -> list[str]:
    problems = []
    scratch.write_bytes(exe)
    dump = subprocess.run([OBJDUMP, "-p", str(scratch)], check=True, capture_output=True,
                          text=True).stdout
    scratch.unlink()
    subsystem = [line.split()[1] for line in dump.splitlines() if line.startswith("Subsystem")]
    if subsystem != [f"{WINDOWED_SUBSYSTEM:08x}"]:
        problems.append(f"subsystem {subsystem}, not the windowed one ({WINDOWED_SUBSYSTEM})")
    dlls = {line.split(":")[1].strip().lower().removesuffix(".dll")
            for line in dump.splitlines() if "DLL Name:" in line}
    if not dlls or dlls - SYSTEM_DLLS:
        problems.append(f"needs DLLs that Windows does not have: {sorted(dlls - SYSTEM_DLLS)}")

    found = resources(exe)
    group = found.get(RT_GROUP_ICON, [bytes(6)])[0]
    # A header of three words, then 14 bytes an icon, the width first (0 is 256).
    sizes = {group[6 + 14 * i] or 256 for i in range(struct.unpack_from("<H", group, 4)[0])}
    if not ICON_SIZES <= sizes or len(found.get(RT_ICON, [])) != len(sizes):
        problems.append(f"the icon has the sizes {sorted(sizes)}; wanted at least "
                        f"{sorted(ICON_SIZES)}")
    info = found.get(RT_VERSION, [b""])[0]
    numbers = [int(n) for n in version.split(".")] + [0]
    fixed = info.find(struct.pack("<I", 0xFEEF04BD))
    if fixed < 0 or struct.unpack_from("<4H", info, fixed + 8) != (
            numbers[1], numbers[0], numbers[3], numbers[2]):
        problems.append(f"the file version in the resources is not {version}")
    for key, value in (("ProductName", "VombaPong"), ("FileVersion", version)):
        # Each a UTF-16 key and value ending in a null, padded to a 4-byte edge.
        text = (re.escape(f"{key}\0".encode("utf-16-le")) + b"(?:\0\0)?" +
                re.escape(f"{value}\0".encode("utf-16-le")))
        if not re.search(text, info):
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
