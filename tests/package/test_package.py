"""VombaPong as a distribution receives it: the command line, the .deb, its documents.

command_line: the built game with no display at all answers --help, --version
    and a wrong argument with the right text, stream and exit code, and opens
    no window for them (it would say it found no display and exit 1).
lint: Debian's package checker, lintian, finds no error and no warning in the
    source package (.dsc), the .changes and the .deb files that the package_deb
    test built from debian/; its whole output is printed, notes too.
source: the source package holds exactly the project's files as git lists
    them, nothing of a build, each with the changelog's date, owner 0 and the
    mode 644 or 755: the same whoever built it, whenever, under any umask.
documents: the files of the .deb that desktops and packagers read are valid
    for their own validators (desktop-file-validate, appstreamcli, man), carry
    the project's version, the licence of LICENSE, and icons of the right sizes.

Exit codes: 0 passed, 1 failed. Every tool used here is installed by
scripts/install-deps.sh --test; a missing one is a failure that says so.
"""

from __future__ import annotations

import argparse
import gzip
import os
import re
import shutil
import subprocess
import sys
import tarfile
import tempfile
import xml.etree.ElementTree as ElementTree
from pathlib import Path
from typing import Callable

from PIL import Image

COMMAND_TIMEOUT_S = 300.0  # guards against a hung tool only
ICON_SIZES = (48, 64, 128, 256)
APP_ID = "org.example.vombapong"


class CaseFailed(Exception):
    pass


def log(message: str) -> None:
    print(f"[package] {message}", flush=True)


def tool(name: str) -> str:
    path = shutil.which(name)
    if path is None:
        raise CaseFailed(f"{name} is not installed; scripts/install-deps.sh --test installs it")
    return path


def run(argv: list[str], **options) -> subprocess.CompletedProcess:
    log("$ " + " ".join(argv))
    return subprocess.run(argv, stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True,
                          timeout=COMMAND_TIMEOUT_S, **options)


def expect_clean(result: subprocess.CompletedProcess, what: str) -> None:
    """A validator passes: exit code 0 and nothing said on either stream."""
    said = (result.stdout + result.stderr).strip()
    if said:
        print(said, flush=True)
    if result.returncode != 0 or said:
        raise CaseFailed(f"{what}: exit code {result.returncode}, output {said!r}")


# ----- the command line ------------------------------------------------------

def command_line(args: argparse.Namespace) -> None:
    env = {k: v for k, v in os.environ.items()
           if k not in ("DISPLAY", "WAYLAND_DISPLAY", "SDL_VIDEODRIVER")}
    env["SDL_AUDIODRIVER"] = "dummy"
    hint = "Try 'vombapong --help' for more information.\n"
    # argv, exit code, what stdout must be (a prefix for the help), what stderr must be
    cases = [
        (["--help"], 0, "Usage: vombapong [--help | --version]\n", ""),
        (["-h", "--bogus"], 0, "Usage: vombapong [--help | --version]\n", ""),
        (["--version"], 0, f"VombaPong {args.version}\n", ""),
        (["--bogus"], 2, "", "VombaPong: unknown option '--bogus'\n" + hint),
        (["level-2"], 2, "", "VombaPong: unexpected argument 'level-2'\n" + hint),
        (["--", "-x"], 2, "", "VombaPong: unexpected argument '-x'\n" + hint),
    ]
    for argv, code, out, err in cases:
        result = subprocess.run([str(args.game), *argv], cwd=tempfile.gettempdir(), env=env,
                                stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True,
                                timeout=30)
        log(f"{argv}: exit code {result.returncode}, stdout {result.stdout[:60]!r}..., "
            f"stderr {result.stderr!r}")
        help_text = out.startswith("Usage:")
        out_ok = result.stdout.startswith(out) if help_text else result.stdout == out
        if result.returncode != code or not out_ok or result.stderr != err:
            raise CaseFailed(f"{argv}: expected exit code {code}, stdout {out!r}, stderr {err!r}")
        if help_text and "--version" not in result.stdout:
            raise CaseFailed(f"{argv}: the help does not name --version")
    # A version nobody could read is no answer: a failed write must not end with 0.
    with open("/dev/full", "w") as full:
        result = subprocess.run([str(args.game), "--version"], env=env, stdout=full,
                                stderr=subprocess.PIPE, text=True, timeout=30)
    log(f"--version into /dev/full: exit code {result.returncode}, stderr {result.stderr!r}")
    if result.returncode != 1 or "couldn't write" not in result.stderr:
        raise CaseFailed("--version into a full stdout did not end with 1 and a message")


# ----- the package -----------------------------------------------------------

def the_deb(args: argparse.Namespace) -> Path:
    debs = sorted(args.package_dir.glob(f"vombapong_{args.version}_*.deb"))
    if len(debs) != 1:
        raise CaseFailed(f"expected one vombapong_{args.version}_*.deb in {args.package_dir} "
                         f"(made by the package_deb test), found {[d.name for d in debs]}")
    return debs[0]


def built_files(args: argparse.Namespace) -> list[Path]:
    """The .changes, the .dsc and every .deb of this version, as a build daemon uploads them."""
    found = [the_deb(args)]
    for pattern in (f"vombapong_{args.version}_*.changes", f"vombapong_{args.version}.dsc",
                    f"vombapong-dbgsym_{args.version}_*.deb"):
        matches = sorted(args.package_dir.glob(pattern))
        if len(matches) != 1:
            raise CaseFailed(f"expected one {pattern} in {args.package_dir}, found "
                             f"{[m.name for m in matches]}")
        found += matches
    return found


def lint(args: argparse.Namespace) -> None:
    files = built_files(args)
    # Every tag lintian knows, notes and experimental ones too; only errors and
    # warnings fail.
    result = run([tool("lintian"), "--fail-on", "error,warning", "--display-info",
                  "--display-experimental", "--pedantic", "--tag-display-limit", "0",
                  *map(str, files)])
    tags = [line for line in result.stdout.splitlines() if re.match(r"^[EWIPXO]: ", line)]
    print("\n".join(tags) if tags else "(no tags)", flush=True)
    bad = [line for line in tags if line.startswith(("E: ", "W: "))]
    if bad or result.returncode != 0:
        raise CaseFailed(f"lintian: exit code {result.returncode}, {len(bad)} errors and "
                         f"warnings; stderr {result.stderr.strip()!r}")
    log(f"lintian on {[f.name for f in files]}: no errors or warnings, {len(tags)} other tags")


def check_icons(root: Path) -> None:
    for size in ICON_SIZES:
        path = root / f"usr/share/icons/hicolor/{size}x{size}/apps/vombapong.png"
        with Image.open(path) as icon:
            icon.load()
            if icon.size != (size, size) or icon.mode != "RGBA":
                raise CaseFailed(f"{path}: {icon.size} {icon.mode}, expected {size}x{size} RGBA")
            corners = [icon.getpixel(p)[3] for p in
                       ((0, 0), (size - 1, 0), (0, size - 1), (size - 1, size - 1))]
            r, g, b, a = icon.getpixel((size // 2, size // 2))
            # Transparent around the creature; its green belly in the middle.
            if any(corners) or a != 255 or not g > r > b:
                raise CaseFailed(f"{path}: corners alpha {corners}, middle {(r, g, b, a)}")
    log(f"icons {ICON_SIZES}: sized, transparent around, green in the middle")


def check_versions(root: Path, version: str) -> None:
    """The changelog, the metainfo and the manual page all name this version."""
    with gzip.open(root / "usr/share/doc/vombapong/changelog.gz", "rt") as changelog:
        first = changelog.readline()
    if not first.startswith(f"vombapong ({version}) "):
        raise CaseFailed(f"the changelog's newest entry is {first.strip()!r}, not {version}")
    metainfo = ElementTree.parse(root / f"usr/share/metainfo/{APP_ID}.metainfo.xml").getroot()
    release = metainfo.find("releases/release")
    if release is None or release.get("version") != version:
        raise CaseFailed(f"the metainfo's newest release is not {version}")
    with gzip.open(root / "usr/share/man/man6/vombapong.6.gz", "rt") as page:
        heading = next(line for line in page if line.startswith(".TH"))
    if f'"VombaPong {version}"' not in heading:
        raise CaseFailed(f"the manual page's heading {heading.strip()!r} lacks {version}")
    log(f"changelog, metainfo and manual page all say {version}")


def check_copyright(root: Path, license_file: Path) -> None:
    """Debian's copyright file carries LICENSE's own text, paragraph by paragraph."""
    copyright_text = (root / "usr/share/doc/vombapong/copyright").read_text()
    stanzas = copyright_text.split("\n\n")
    if not stanzas[0].startswith("Format: https://www.debian.org/doc/packaging-manuals/"
                                 "copyright-format/1.0/"):
        raise CaseFailed("the copyright file is not in Debian's machine-readable format")
    licence = next((s for s in stanzas if s.startswith("License: Zlib\n")), None)
    if licence is None:
        raise CaseFailed("the copyright file has no stand-alone Zlib licence paragraph")
    body = "\n".join("" if line == " ." else line[1:] for line in licence.splitlines()[1:])
    if body.strip() not in license_file.read_text():
        raise CaseFailed("the copyright file's Zlib text is not LICENSE's")


def documents(args: argparse.Namespace) -> None:
    deb = the_deb(args)
    root = Path(tempfile.mkdtemp(prefix="vomba-deb-"))
    try:
        result = run(["dpkg-deb", "-x", str(deb), str(root)])
        if result.returncode != 0:
            raise CaseFailed(f"dpkg-deb -x failed: {result.stderr.strip()}")
        desktop = root / f"usr/share/applications/{APP_ID}.desktop"
        metainfo = root / f"usr/share/metainfo/{APP_ID}.metainfo.xml"
        expect_clean(run([tool("desktop-file-validate"), str(desktop)]), "desktop-file-validate")
        appstream = tool("appstreamcli")
        for argv in ([appstream, "validate", "--no-net", "--pedantic", str(metainfo)],
                     # The whole tree: the metainfo's launchable is this desktop entry.
                     [appstream, "validate-tree", "--no-net", "--pedantic", str(root)]):
            result = run(argv)
            print((result.stdout + result.stderr).strip(), flush=True)
            if result.returncode != 0 or not re.search(r"Validation was successful\.\s*$",
                                                       result.stdout):
                raise CaseFailed(f"{argv[1]}: not a clean pass (exit code {result.returncode})")
        # man's sandbox is refused inside some containers and chroots; the page
        # is our own file, so it is not needed here.
        env = dict(os.environ, MANWIDTH="80", LC_ALL="C.UTF-8", MAN_DISABLE_SECCOMP="1")
        # Every kind of groff warning, not only the default undefined macros.
        page = run([tool("man"), "--warnings=w", "-l",
                    str(root / "usr/share/man/man6/vombapong.6.gz")], env=env)
        if page.returncode != 0 or page.stderr.strip() or "WEITER" not in page.stdout:
            raise CaseFailed(f"man --warnings=w: exit code {page.returncode}, warnings "
                             f"{page.stderr.strip()!r}")
        log("man --warnings=w: rendered without a warning")
        check_versions(root, args.version)
        check_copyright(root, args.license)
        check_icons(root)
    finally:
        shutil.rmtree(root, ignore_errors=True)


def source_files(source_dir: Path) -> set[str]:
    """The project's files as git lists them, those deleted in the work tree left out,
    and git's own (.gitignore), which dpkg-source leaves out of every source package."""
    result = run(["git", "-C", str(source_dir), "ls-files", "-z", "--cached", "--others",
                  "--exclude-standard"])
    if result.returncode != 0:
        raise CaseFailed(f"git ls-files in {source_dir}: {result.stderr.strip()}")
    return {name for name in result.stdout.split("\0") if (source_dir / name).is_file()
            and not any(part.startswith(".git") for part in Path(name).parts)}


def source(args: argparse.Namespace) -> None:
    tarballs = sorted(args.package_dir.glob(f"vombapong_{args.version}.tar.*"))
    if len(tarballs) != 1:
        raise CaseFailed(f"expected one vombapong_{args.version}.tar.* in {args.package_dir}")
    stamp = int(run(["dpkg-parsechangelog", "--file", str(args.source_dir / "debian/changelog"),
                     "--show-field", "Timestamp"]).stdout)
    top = f"vombapong-{args.version}"
    with tarfile.open(tarballs[0]) as tar:
        members = tar.getmembers()
    wrong = []
    for member in members:
        mode = member.mode & 0o7777
        want = 0o755 if member.isdir() or mode & 0o100 else 0o644
        if (member.name.split("/")[0] != top or (member.uid, member.gid) != (0, 0)
                or member.mtime != stamp or mode != want or not (member.isdir() or member.isfile())):
            wrong.append(f"{member.name} {oct(mode)} {member.uid}:{member.gid} {member.mtime}")
    if wrong:
        raise CaseFailed(f"{len(wrong)} entries of {tarballs[0].name} are not files or folders "
                         f"under {top}/ of owner 0, mode 644 or 755 and time {stamp}: {wrong[:5]}")
    packed = {m.name[len(top) + 1:] for m in members if m.isfile()}
    expected = source_files(args.source_dir)
    if packed != expected:
        raise CaseFailed(f"{tarballs[0].name} is not the project's files: missing "
                         f"{sorted(expected - packed)[:10]}, extra {sorted(packed - expected)[:10]}")
    log(f"{tarballs[0].name}: the project's {len(packed)} files, owner 0, modes 644 and 755, "
        f"time {stamp}")


CASES: dict[str, Callable[[argparse.Namespace], None]] = {
    "command_line": command_line,
    "lint": lint,
    "documents": documents,
    "source": source,
}


def main() -> None:
    parser = argparse.ArgumentParser(description="VombaPong as a distribution receives it")
    parser.add_argument("--case", required=True, choices=sorted(CASES))
    parser.add_argument("--version", required=True, help="the project's version")
    parser.add_argument("--game", type=Path, help="the built game (command_line)")
    parser.add_argument("--package-dir", type=Path, help="where the .deb was made")
    parser.add_argument("--license", type=Path, help="the project's LICENSE (documents)")
    parser.add_argument("--source-dir", type=Path, help="the project's checkout (source)")
    args = parser.parse_args()
    log(f"case {args.case}: start")
    try:
        CASES[args.case](args)
    except CaseFailed as failure:
        log(f"case {args.case}: FAILED: {failure}")
        sys.exit(1)
    log(f"case {args.case}: passed")


if __name__ == "__main__":
    main()
