#!/usr/bin/env python3
"""Packs a folder into a zip that is the same bytes wherever and whenever it is made.

The folder goes in as the zip's one top folder, its files and folders sorted by
name, every file readable by all (0644) and every folder 0755 whatever the
umask, and every entry dated SOURCE_DATE_EPOCH (the last commit's time in a
release) or, without it, the given day at midnight UTC. A zip stores local
times; UTC is written so that no time zone shows in the bytes.

    scripts/pack-zip.py FOLDER ZIP [--date YYYY-MM-DD]
"""

from __future__ import annotations

import argparse
import datetime
import os
import sys
import zipfile
from pathlib import Path

EARLIEST = datetime.datetime(1980, 1, 1, tzinfo=datetime.timezone.utc)  # a zip's first day


def entry_time(date: str | None) -> tuple[int, int, int, int, int, int]:
    epoch = os.environ.get("SOURCE_DATE_EPOCH")
    if epoch:
        when = datetime.datetime.fromtimestamp(int(epoch), datetime.timezone.utc)
    elif date:
        when = datetime.datetime.fromisoformat(date).replace(tzinfo=datetime.timezone.utc)
    else:
        sys.exit("pack-zip: set SOURCE_DATE_EPOCH or give --date: a zip needs one date for all")
    when = max(when, EARLIEST)
    # The zip format counts seconds in twos.
    return (when.year, when.month, when.day, when.hour, when.minute, when.second - when.second % 2)


def pack(folder: Path, zip_path: Path, when: tuple[int, int, int, int, int, int]) -> int:
    paths = sorted(folder.rglob("*"), key=lambda p: p.relative_to(folder).as_posix())
    if not any(p.is_file() for p in paths):
        sys.exit(f"pack-zip: {folder} holds no file to pack")
    partial = zip_path.with_name(zip_path.name + ".part")
    with zipfile.ZipFile(partial, "w") as archive:
        for path in [folder] + paths:
            name = (Path(folder.name) / path.relative_to(folder)).as_posix()
            if path.is_symlink() or not (path.is_file() or path.is_dir()):
                sys.exit(f"pack-zip: {path} is neither a plain file nor a folder")
            info = zipfile.ZipInfo(name + ("/" if path.is_dir() else ""), date_time=when)
            info.create_system = 3  # Unix, so that the modes below are read
            if path.is_dir():
                info.external_attr = (0o40755 << 16) | 0x10  # and MS-DOS's folder flag
                archive.writestr(info, b"")
            else:
                info.external_attr = 0o100644 << 16
                info.compress_type = zipfile.ZIP_DEFLATED
                archive.writestr(info, path.read_bytes(), compresslevel=9)
    partial.replace(zip_path)
    return sum(1 for p in paths if p.is_file())


def main() -> None:
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("folder", type=Path)
    parser.add_argument("zip", type=Path)
    parser.add_argument("--date", help="the day of every entry without SOURCE_DATE_EPOCH")
    args = parser.parse_args()
    if not args.folder.is_dir():
        sys.exit(f"pack-zip: {args.folder} is not a folder")
    count = pack(args.folder.resolve(), args.zip, entry_time(args.date))
    print(f"pack-zip: {args.zip.name}: {count} files of {args.folder.name}/")


if __name__ == "__main__":
    main()
