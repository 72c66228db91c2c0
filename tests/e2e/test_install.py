"""VombaPong installed the two ways a player installs it, then played from elsewhere.

prefix_install: `cmake --install` into a temporary prefix, which is then moved
    to another place (the launcher must find the game relative to itself).
    The installed tree is checked file by file against the build, the launcher
    must pass its arguments and the game's exit codes on, it is started from
    an unrelated working directory under Xvfb, the title picture must appear,
    and a close request must end it with exit code 0. Needs no root.

deb_install: the Debian package made by the package_deb fixture is installed
    on this machine with apt-get, `vombapong` is started by name from an
    unrelated working directory, the title must appear, a close must end it
    with 0, and the package is removed again whatever happened.  Needs root
    or password-less sudo; skipped (77) otherwise, and also skipped when a
    vombapong package is already installed, which it would not touch.

Both start the game through its launcher, so the game runs in its installed
data folder only if the launcher changes into it. The layout is Debian's for
games: the launcher in games/, the executable in lib/games/vombapong/, its
pictures and sounds in share/games/vombapong/.
"""

from __future__ import annotations

import argparse
import filecmp
import os
import shutil
import subprocess
import sys
import tempfile
import time
import traceback
import xml.etree.ElementTree as ElementTree
from pathlib import Path
from typing import Callable

from PIL import Image
from Xlib.error import XError

from vomba_desktop import CaseFailed, log
from vomba_desktop.session import EXIT_TIMEOUT_S, POLL_INTERVAL_S, START_TIMEOUT_S, Session

PACKAGE = "vombapong"
LAUNCHER = Path("games/vombapong")
GAME_FOLDER = Path("lib/games/vombapong")
DATA_FOLDER = Path("share/games/vombapong")
DESKTOP_ENTRY = Path("share/applications/org.example.vombapong.desktop")
ICON = Path("share/icons/hicolor/scalable/apps/vombapong.svg")
# Checked for being there; test_package.py checks what is in them.
DOCUMENTS = [Path("share/man/man6/vombapong.6.gz"), Path("share/doc/vombapong/copyright"),
             Path("share/doc/vombapong/changelog.gz"),
             Path("share/metainfo/org.example.vombapong.metainfo.xml")] + [
    Path(f"share/icons/hicolor/{size}x{size}/apps/vombapong.png") for size in (48, 64, 128, 256)]
SYSTEM_PREFIX = Path("/usr")
SVG_ROOT_TAG = "{http://www.w3.org/2000/svg}svg"

COMMAND_TIMEOUT_S = 600.0  # guards against a hung apt-get or cmake only
SKIP_EXIT_CODE = 77  # CTest's SKIP_RETURN_CODE for these cases


class CaseSkipped(Exception):
    """This machine cannot take a system-wide install (no root, no apt-get, a
    vombapong package of someone else's in the way): nothing about the game."""


def run(argv: list[str], **options) -> subprocess.CompletedProcess:
    log("$ " + " ".join(argv))
    result = subprocess.run(argv, stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True,
                            timeout=COMMAND_TIMEOUT_S, **options)
    if result.stdout.strip():
        print(result.stdout.rstrip(), flush=True)
    return result


def run_checked(argv: list[str], what: str, **options) -> subprocess.CompletedProcess:
    result = run(argv, **options)
    if result.returncode != 0:
        raise CaseFailed(f"{what} failed with exit code {result.returncode}")
    return result


# ----- the installed tree ----------------------------------------------------

def game_data_files(folder: Path) -> set[str]:
    """Names of the pictures and sounds in a game folder."""
    return {p.name for p in folder.iterdir() if p.suffix in (".bmp", ".wav")}


def check_installed_tree(prefix: Path, built_game_dir: Path, documents: bool = True) -> None:
    """The launcher, the game, every file of the build, the menu entry, icons, documents."""
    launcher = prefix / LAUNCHER
    if not launcher.is_file() or not os.access(launcher, os.X_OK):
        raise CaseFailed(f"no executable launcher at {launcher}")
    if not launcher.read_text().startswith("#!/bin/sh\n"):
        raise CaseFailed(f"{launcher} is not a /bin/sh script")

    executable = prefix / GAME_FOLDER / "vombapong"
    if not executable.is_file() or not os.access(executable, os.X_OK):
        raise CaseFailed(f"no executable game at {executable}")
    data_folder = prefix / DATA_FOLDER
    built = game_data_files(built_game_dir)
    installed = game_data_files(data_folder)
    if not built:
        raise CaseFailed(f"the build has no pictures or sounds in {built_game_dir}")
    if installed != built:
        raise CaseFailed(f"installed files differ from the build's: missing "
                         f"{sorted(built - installed)}, extra {sorted(installed - built)}")
    _, mismatch, errors = filecmp.cmpfiles(built_game_dir, data_folder, sorted(built),
                                           shallow=False)
    if mismatch or errors:
        raise CaseFailed(f"installed files not equal to the build's: {mismatch + errors}")
    log(f"{len(installed)} pictures and sounds installed, equal to the build's")

    check_desktop_entry(prefix / DESKTOP_ENTRY)
    check_icon(prefix / ICON)
    missing = [str(d) for d in DOCUMENTS if documents and not (prefix / d).is_file()]
    if missing:
        raise CaseFailed(f"not installed under {prefix}: {missing}")


def check_desktop_entry(path: Path) -> None:
    if not path.is_file():
        raise CaseFailed(f"no desktop entry at {path}")
    lines = path.read_text().splitlines()
    if not lines or lines[0] != "[Desktop Entry]":
        raise CaseFailed(f"{path} does not start with [Desktop Entry]")
    keys = dict(line.split("=", 1) for line in lines[1:] if "=" in line)
    for key, want in (("Type", "Application"), ("Exec", "vombapong"), ("Icon", "vombapong")):
        if keys.get(key) != want:
            raise CaseFailed(f"{path}: {key}={keys.get(key)!r}, expected {want!r}")
    categories = keys.get("Categories", "").split(";")
    if "Game" not in categories or "ArcadeGame" not in categories:
        raise CaseFailed(f"{path}: Categories={keys.get('Categories')!r} lacks Game or ArcadeGame")


def check_icon(path: Path) -> None:
    if not path.is_file():
        raise CaseFailed(f"no icon at {path}")
    try:
        root = ElementTree.parse(path).getroot()
    except ElementTree.ParseError as exc:
        raise CaseFailed(f"{path} is not well-formed XML: {exc}") from exc
    if root.tag != SVG_ROOT_TAG:
        raise CaseFailed(f"{path}: root element {root.tag}, expected an SVG picture")


# ----- playing the installed game --------------------------------------------

def start_installed(s: Session, argv: list[str], cwd: Path, path_first: str = "") -> None:
    """Start the game through its launcher from `cwd`, as a user's shell would."""
    extra_env = {}
    if path_first:
        extra_env["PATH"] = path_first + os.pathsep + s.env.get("PATH", "")
    s.start_game(extra_env=extra_env, command=argv, cwd=cwd)


def settled_game_window(s: Session):
    """The game window once the title is up, at its place.

    A window found early can be gone a moment later (SDL recreates its
    window for some renderers); look again if so.
    """
    deadline = time.monotonic() + START_TIMEOUT_S
    while True:
        win = s.find_game_window()
        try:
            s.expect_geometry(win)
            return win
        except XError:
            if time.monotonic() > deadline:
                raise
            log("the window found was replaced; looking again")
            time.sleep(POLL_INTERVAL_S)


def play_title_and_close(s: Session, argv: list[str], installed_data_folder: Path,
                         path_first: str = "") -> None:
    """Start from a fresh folder, see the installed title picture, close, expect 0."""
    elsewhere = Path(tempfile.mkdtemp(prefix="vomba-elsewhere-"))
    try:
        start_installed(s, argv, elsewhere, path_first)
        with Image.open(installed_data_folder / "Start.bmp") as picture:
            title = picture.convert("RGB")
        s.wait_until_matches(s.window_rect(), title, "title picture",
                             timeout=START_TIMEOUT_S)
        s.close(settled_game_window(s))
        s.expect_exit(0)
        # The game found all of its files: nothing was reported missing.
        complaints = [line for line in s.stderr().splitlines() if "Couldn't load" in line
                      or "couldn't load" in line]
        if complaints:
            raise CaseFailed(f"the installed game missed files: {complaints!r}")
        leftovers = list(elsewhere.iterdir())
        if leftovers:
            raise CaseFailed(f"the game wrote into the folder it was started from: {leftovers}")
    finally:
        shutil.rmtree(elsewhere, ignore_errors=True)


def expect_answers_passed_on(launcher: Path, version: str) -> None:
    """The launcher passes its arguments to the game and the game's exit code back.

    Without an X display the game ends with 1; --version answers with 0, a
    wrong argument with 2.
    """
    env = {k: v for k, v in os.environ.items() if k not in ("DISPLAY", "WAYLAND_DISPLAY")}
    env.update(SDL_VIDEODRIVER="x11", SDL_AUDIODRIVER="dummy")
    for argv, code, stream, text in (
            ([], 1, "stderr", "Couldn't open the game window"),
            (["--version"], 0, "stdout", f"VombaPong {version}\n"),
            (["--no-such-option"], 2, "stderr", "'--no-such-option'")):
        result = subprocess.run([str(launcher), *argv], cwd="/", env=env, stdout=subprocess.PIPE,
                                stderr=subprocess.PIPE, text=True,
                                timeout=EXIT_TIMEOUT_S)
        output = getattr(result, stream)
        log(f"launcher {argv}: exit code {result.returncode}, {stream} {output.strip()!r}")
        if result.returncode != code or text not in output:
            raise CaseFailed(f"launcher {argv}: expected exit code {code} and {text!r} on "
                             f"{stream}, got {result.returncode}, stdout {result.stdout!r}, "
                             f"stderr {result.stderr!r}")


# ----- the cases -------------------------------------------------------------

def prefix_install(args: argparse.Namespace, artifacts: Path) -> None:
    work = Path(tempfile.mkdtemp(prefix="vomba-install-"))
    try:
        first = work / "first" / "prefix"
        run_checked([args.cmake, "--install", str(args.build_dir), "--prefix", str(first)],
                    "cmake --install")
        # A prefix moved after installing must still work.
        moved = work / "moved" / "prefix"
        moved.parent.mkdir()
        first.rename(moved)
        check_installed_tree(moved, args.build_dir / "game")
        expect_answers_passed_on(moved / LAUNCHER, args.version)
        # A symbolic link to the launcher, as in ~/bin, leads to the same game.
        links = work / "links"
        links.mkdir()
        (links / "vombapong").symlink_to(moved / LAUNCHER)
        with Session(moved / DATA_FOLDER, artifacts) as s:
            play_title_and_close(s, [str(moved / LAUNCHER)], moved / DATA_FOLDER)
            play_title_and_close(s, ["vombapong"], moved / DATA_FOLDER, path_first=str(links))
    finally:
        shutil.rmtree(work, ignore_errors=True)


def as_root_command() -> list[str]:
    """How to run apt-get as root here; skips the case when there is no way."""
    if os.geteuid() == 0:
        return []
    if shutil.which("sudo") and subprocess.run(
            ["sudo", "-n", "true"], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
            timeout=30).returncode == 0:
        return ["sudo", "-n"]
    raise CaseSkipped("installing a package needs root or password-less sudo")


def package_status() -> str:
    result = subprocess.run(["dpkg-query", "-W", "-f=${Status}", PACKAGE],
                            stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True)
    return result.stdout.strip() if result.returncode == 0 else "not known to dpkg"


def check_package_fields(deb: Path) -> None:
    fields = {}
    for name in ("Package", "Section", "Maintainer", "Depends", "Architecture"):
        fields[name] = run_checked(["dpkg-deb", "-f", str(deb), name],
                                   f"reading {name} of {deb.name}").stdout.strip()
    if fields["Package"] != PACKAGE or fields["Section"] != "games" or not fields["Maintainer"]:
        raise CaseFailed(f"unexpected control fields: {fields}")
    depends = [d.split()[0] for d in fields["Depends"].split(",") if d.strip()]
    for runtime in ("libsdl2-2.0-0", "libsdl2-mixer-2.0-0"):
        if runtime not in depends:
            raise CaseFailed(f"the package does not depend on {runtime}: {fields['Depends']!r}")


def deb_install(args: argparse.Namespace, artifacts: Path) -> None:
    if not shutil.which("apt-get") or not shutil.which("dpkg-deb"):
        raise CaseSkipped("no apt-get or dpkg-deb on this machine")
    debs = sorted(args.package_dir.glob(f"{PACKAGE}_{args.version}_*.deb"))
    if len(debs) != 1:
        raise CaseFailed(f"expected one {PACKAGE}_{args.version}_*.deb in {args.package_dir} "
                         f"(made by the package_deb test), found {[d.name for d in debs]}")
    deb = debs[0].resolve()
    log(f"package {deb} ({deb.stat().st_size} bytes)")
    check_package_fields(deb)
    as_root = as_root_command()
    status = package_status()
    if "installed" in status.split():
        raise CaseSkipped(f"a {PACKAGE} package is already installed here ({status!r}); this "
                          f"test leaves it alone. Remove it with: apt-get remove {PACKAGE}")

    apt_env = dict(os.environ, DEBIAN_FRONTEND="noninteractive")
    apt = [*as_root, "apt-get", "-o", "DPkg::Lock::Timeout=120", "-y"]
    installed = False
    try:
        run_checked([*apt, "install", "--no-install-recommends", str(deb)],
                    "apt-get install", env=apt_env)
        installed = True
        listed = set(run_checked(["dpkg", "-L", PACKAGE], "dpkg -L").stdout.split())
        for part in (LAUNCHER, GAME_FOLDER / "vombapong", DATA_FOLDER / "Start.bmp", DESKTOP_ENTRY,
                     ICON):
            if str(SYSTEM_PREFIX / part) not in listed:
                raise CaseFailed(f"the package does not own {SYSTEM_PREFIX / part}")
        # The build tree is the reference for the game's files; the package is stripped,
        # so the executable itself is compared only for being there. Documents are
        # left out: some systems keep dpkg from installing any (test_package.py
        # checks them in the package itself).
        check_installed_tree(SYSTEM_PREFIX, args.build_dir / "game", documents=False)
        with Session(SYSTEM_PREFIX / DATA_FOLDER, artifacts) as s:
            # By name, from the PATH, as from a terminal or the desktop entry's Exec.
            play_title_and_close(s, ["vombapong"], SYSTEM_PREFIX / DATA_FOLDER,
                                 path_first=str(SYSTEM_PREFIX / "games"))
    except BaseException as failure:
        log(f"failed with the package installed: {failure}")
        raise
    finally:
        # Leave the machine as it was, whatever happened above.
        if installed or "installed" in package_status().split():
            result = run([*apt, "remove", PACKAGE], env=apt_env)
            if result.returncode != 0:
                raise CaseFailed(f"apt-get remove {PACKAGE} failed ({result.returncode}); "
                                 f"remove it by hand")
    status = package_status()
    if "installed" in status.split() or (SYSTEM_PREFIX / LAUNCHER).exists():
        raise CaseFailed(f"{PACKAGE} is still installed after removal: {status!r}")
    for folder in (GAME_FOLDER, DATA_FOLDER):
        if (SYSTEM_PREFIX / folder).exists():
            raise CaseFailed(f"{SYSTEM_PREFIX / folder} is left behind after removal")
    log(f"package removed again: {status!r}")


CASES: dict[str, Callable[[argparse.Namespace, Path], None]] = {
    "prefix_install": prefix_install,
    "deb_install": deb_install,
}


def main() -> None:
    parser = argparse.ArgumentParser(description="VombaPong installed and played")
    parser.add_argument("--case", required=True, choices=sorted(CASES))
    parser.add_argument("--build-dir", required=True, type=Path,
                        help="the CMake build tree (its game/ folder is the reference)")
    parser.add_argument("--cmake", default="cmake", help="the cmake executable")
    parser.add_argument("--package-dir", type=Path, help="where the .deb was made")
    parser.add_argument("--version", required=True,
                        help="the game's version, as --version and the package name give it")
    parser.add_argument("--artifacts", type=Path, default=Path.cwd() / "e2e-artifacts")
    args = parser.parse_args()
    args.build_dir = args.build_dir.resolve()
    if args.case == "deb_install" and args.package_dir is None:
        parser.error("deb_install needs --package-dir")

    artifacts = args.artifacts / args.case
    if artifacts.exists():
        shutil.rmtree(artifacts)
    artifacts.mkdir(parents=True)
    started = time.monotonic()
    log(f"case {args.case}: start")
    try:
        CASES[args.case](args, artifacts)
    except CaseSkipped as skip:
        log(f"case {args.case}: SKIPPED: {skip}")
        sys.exit(SKIP_EXIT_CODE)
    except CaseFailed as failure:
        log(f"case {args.case}: FAILED: {failure}; artifacts in {artifacts}")
        sys.exit(1)
    except Exception:
        traceback.print_exc()
        log(f"case {args.case}: ERROR; artifacts in {artifacts}")
        sys.exit(1)
    log(f"case {args.case}: passed in {time.monotonic() - started:.1f} s")


if __name__ == "__main__":
    main()
