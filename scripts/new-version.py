#!/usr/bin/env python3
"""Starts a new version: writes it everywhere it is written, with what is new.

VERSION gets the version; CHANGELOG.md (for players), debian/changelog and
the AppStream metainfo each get a newest entry with the release day and the
lines given, one item per line. Everything else follows from VERSION. Review
the change with git diff, then commit it and cut the release (README.md).

    scripts/new-version.py 1.0.1 "The ball no longer ..." ["Another change" ...]
    scripts/new-version.py --date 2027-01-15 1.0.1 "..."   # another day than today (UTC)
"""

from __future__ import annotations

import argparse
import datetime
import email.utils
import html
import re
import subprocess
import sys
import textwrap
from pathlib import Path

TOP = Path(__file__).resolve().parent.parent
METAINFO = TOP / "packaging/org.example.vombapong.metainfo.xml.in"


def refuse(message: str) -> None:
    sys.exit(f"new-version: {message}")


def newer(version: str, current: str) -> bool:
    return [int(n) for n in version.split(".")] > [int(n) for n in current.split(".")]


def players_entry(version: str, day: str, lines: list[str]) -> str:
    items = "".join(textwrap.fill(line, 76, initial_indent="- ", subsequent_indent="  ") + "\n"
                    for line in lines)
    return f"## {version} ({day})\n\n{items}\n"


def debian_entry(version: str, day: str, lines: list[str]) -> str:
    control = (TOP / "debian/control").read_text()
    maintainer = re.search(r"^Maintainer: (.*)$", control, re.M).group(1)
    midnight = datetime.datetime.fromisoformat(day).replace(tzinfo=datetime.timezone.utc)
    items = "".join(textwrap.fill(line, 78, initial_indent="  * ", subsequent_indent="    ") + "\n"
                    for line in lines)
    return (f"vombapong ({version}) unstable; urgency=medium\n\n{items}\n"
            f" -- {maintainer}  {email.utils.format_datetime(midnight)}\n\n")


def metainfo_entry(version: str, day: str, lines: list[str]) -> str:
    items = "".join(f"          <li>{html.escape(line, quote=False)}</li>\n" for line in lines)
    return (f'<release version="{version}" date="{day}">\n      <description>\n'
            f"        <ul>\n{items}        </ul>\n      </description>\n    </release>\n    ")


def main() -> None:
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("version", help="the new version, such as 1.0.1")
    parser.add_argument("lines", nargs="+", metavar="what-is-new",
                        help="one line for players per change")
    parser.add_argument("--date", default=datetime.datetime.now(datetime.timezone.utc).date().isoformat(),
                        help="the release day, YYYY-MM-DD (default: today, UTC)")
    args = parser.parse_args()

    current = (TOP / "VERSION").read_text().strip()
    if not re.fullmatch(r"\d+\.\d+\.\d+", args.version):
        refuse(f"{args.version!r} is not a version of three numbers, such as 1.0.1")
    if not newer(args.version, current):
        refuse(f"{args.version} is not newer than the current version {current}")
    try:
        datetime.date.fromisoformat(args.date)
    except ValueError:
        refuse(f"{args.date!r} is not a day written YYYY-MM-DD")
    if any(not line.strip() or "\n" in line for line in args.lines):
        refuse("each line of what is new must be one line of text")

    changelog = (TOP / "CHANGELOG.md").read_text()
    first = changelog.find("\n## ") + 1
    metainfo = METAINFO.read_text()
    newest = metainfo.find("<release ")
    if first == 0 or newest < 0:
        refuse("CHANGELOG.md has no version heading or the metainfo no <release>: mend them by hand")

    (TOP / "CHANGELOG.md").write_text(
        changelog[:first] + players_entry(args.version, args.date, args.lines) + changelog[first:])
    debian = TOP / "debian/changelog"
    debian.write_text(debian_entry(args.version, args.date, args.lines) + debian.read_text())
    METAINFO.write_text(metainfo[:newest] + metainfo_entry(args.version, args.date, args.lines)
                        + metainfo[newest:])
    (TOP / "VERSION").write_text(args.version + "\n")
    print(f"new-version: {current} -> {args.version} of {args.date} in VERSION, CHANGELOG.md, "
          "debian/changelog and the metainfo.")
    subprocess.run(["git", "-C", str(TOP), "diff", "--stat"], check=False)


if __name__ == "__main__":
    main()
