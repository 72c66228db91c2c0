"""The Windows cases' ground: the zip unpacked into a folder of its own and a
fresh Wine prefix, made once per test run and shared by every case
(--prepare), and the prefix taken down again afterwards (--clean).

Usage: wine_prefix.py --prepare --zip ZIP --run-dir DIR
       wine_prefix.py --clean --run-dir DIR
The game is unpacked into DIR/unpacked, the prefix is DIR/wineprefix.
"""

from __future__ import annotations

import argparse
import os
import shutil
import subprocess
import sys
import time
import zipfile
from pathlib import Path

WINE = os.environ.get("VOMBA_WINE", "/usr/lib/wine/wine64")
WINESERVER = str(Path(WINE).with_name("wineserver"))
PREFIX_TIMEOUT_S = 300  # a guard only: about 10 s on a quiet machine


def wine_env(prefix: Path) -> dict:
    env = dict(os.environ, WINEPREFIX=str(prefix), WINEDEBUG="-all",
               # No browser or .NET runtime to install, and no window to show.
               WINEDLLOVERRIDES="mscoree,mshtml=")
    env.pop("DISPLAY", None)
    return env


def prepare(zip_path: Path, run_dir: Path) -> None:
    if not zip_path.exists():
        sys.exit(f"{zip_path} is missing: make windows builds it")
    clean(run_dir)
    shutil.rmtree(run_dir, ignore_errors=True)
    with zipfile.ZipFile(zip_path) as archive:
        archive.extractall(run_dir / "unpacked")
    started = time.monotonic()
    prefix = run_dir / "wineprefix"
    subprocess.run([WINE, "wineboot", "--init"], env=wine_env(prefix), check=True,
                   timeout=PREFIX_TIMEOUT_S)
    subprocess.run([WINESERVER, "--wait"], env=wine_env(prefix), check=True,
                   timeout=PREFIX_TIMEOUT_S)
    print(f"unpacked {zip_path.name} into {run_dir / 'unpacked'}; "
          f"Wine prefix {prefix} made in {time.monotonic() - started:.1f} s")


def clean(run_dir: Path) -> None:
    prefix = run_dir / "wineprefix"
    if prefix.exists():
        subprocess.run([WINESERVER, "--kill"], env=wine_env(prefix), check=False)
        shutil.rmtree(prefix, ignore_errors=True)


def main() -> None:
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--prepare", action="store_true")
    parser.add_argument("--clean", action="store_true")
    parser.add_argument("--zip", type=Path)
    parser.add_argument("--run-dir", type=Path, required=True)
    args = parser.parse_args()
    if args.prepare:
        prepare(args.zip, args.run_dir)
    if args.clean:
        clean(args.run_dir)


if __name__ == "__main__":
    main()
