"""The one version: every place that cannot follow from VERSION says the same.

VERSION holds the version; CMake, the game's --version, the Windows version
resource, the page and the file names take it from there. Debian's changelog,
the players' CHANGELOG.md and the AppStream metainfo keep a history, so their
newest entries are written beside it (scripts/new-version.py writes all of
them): each must name this version, and all the same release day.

Usage: test_versions.py --source-dir TOP --cmake-version X.Y.Z
"""

from __future__ import annotations

import argparse
import email.utils
import re
import sys
import xml.etree.ElementTree as ElementTree
from pathlib import Path


def debian_changelog(top: Path) -> tuple[str, str]:
    text = (top / "debian/changelog").read_text()
    version = re.match(r"vombapong \(([^)]*)\)", text)
    trailer = re.search(r"^ -- .*?>  (.*)$", text, re.M)
    day = email.utils.parsedate_to_datetime(trailer.group(1)).date().isoformat() if trailer else ""
    return (version.group(1) if version else "", day)


def players_changelog(top: Path) -> tuple[str, str]:
    heading = re.search(r"^## (\S+) \((\d{4}-\d\d-\d\d)\)$", (top / "CHANGELOG.md").read_text(), re.M)
    return (heading.group(1), heading.group(2)) if heading else ("", "")


def metainfo(top: Path) -> tuple[str, str]:
    path = top / "packaging/org.example.vombapong.metainfo.xml.in"
    release = ElementTree.parse(path).getroot().find("releases/release")
    return (release.get("version", ""), release.get("date", "")) if release is not None else ("", "")


PLACES = {
    "debian/changelog's newest entry": debian_changelog,
    "CHANGELOG.md's newest heading": players_changelog,
    "the metainfo's newest release": metainfo,
}


def problems(top: Path, cmake_version: str) -> list[str]:
    version = (top / "VERSION").read_text().strip()
    found = [f"CMake's project version is {cmake_version}, VERSION says {version}"] \
        if cmake_version != version else []
    days = {}
    for place, read in PLACES.items():
        their_version, days[place] = read(top)
        if their_version != version:
            found.append(f"{place} is version {their_version or '(none)'}, VERSION says {version}")
    if len(set(days.values())) != 1:
        found.append("the release days differ: " + ", ".join(f"{p} {d or '(none)'}" for p, d in days.items()))
    return found


def main() -> None:
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--source-dir", type=Path, required=True)
    parser.add_argument("--cmake-version", required=True)
    args = parser.parse_args()
    found = problems(args.source_dir, args.cmake_version)
    for problem in found:
        print(f"FAILED: {problem} (scripts/new-version.py writes them all)")
    if found:
        sys.exit(1)
    print(f"VERSION, CMake, {', '.join(PLACES)}: all say {args.cmake_version}")


if __name__ == "__main__":
    main()
