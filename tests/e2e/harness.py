"""End-to-end harness: play the built VombaPong as a person would.

Every case starts its own X server (Xvfb, no window manager, on a display
number the server picks itself with -displayfd, so cases can run side by
side), starts the game from its directory, and then acts on it only from
outside: it finds the window by its title, clicks and moves a real X pointer
with xdotool, grabs the screen, and asks the window to close with the
WM_DELETE_WINDOW message a window manager would send.  Nothing in here links
against the game.

A case is a function that takes a Session and raises on failure (a case
that needs an unusual X server names more Xvfb options in its attribute
`xvfb_args`):

    import harness

    def title_screen(s: harness.Session) -> None:
        s.start_game()
        win = s.find_game_window()
        s.expect_geometry(win)
        s.wait_until_matches(s.window_rect(), s.picture("Start.bmp"), "title")
        s.close(win)
        s.expect_exit(0)

    if __name__ == "__main__":
        harness.main({"title_screen": title_screen})

`harness.main` reads the command line (`--game-dir` is the directory that
holds the executable `vombapong` and its pictures and sounds; `--renderer`
is "default", "software" or "opengl"; `--case` chooses one case of the file;
`--artifacts` is where screenshots and diffs of failures go) and runs the
case inside a Session, which always tears down the game and the X server.
Exit codes: 0 passed, 1 failed.  A case never skips: whatever keeps it from
looking at the game (no window, a picture that never comes, a game that does
not play) fails it.

Pictures are compared with a per-channel tolerance; a comparison reports the
fraction of pixels that differ and, when it fails, saves the actual picture,
the expected one and a diff (differing pixels red) as PNG files under the
artifacts directory.  Grabs are not synchronised with the game's presents,
so waiting helpers poll until the picture settles or matches, with generous
timeouts that only guard against hangs.

What the game's files are (sizes, colours, the sprite sheet's pieces and
where the scoreboard shows them) is read from the game's own description of
them, which the build writes beside the game's folder as game_facts.json
(`vomba_make_assets --facts`); see `game_facts_file`.

Needs Debian's /usr/bin/python3 with python3-xlib and python3-pil, plus
Xvfb and xdotool.
"""

from __future__ import annotations

import argparse
import json
import os
import shutil
import signal
import subprocess
import sys
import tempfile
import time
import traceback
from dataclasses import dataclass
from pathlib import Path
from typing import Callable, Iterable, Optional

from PIL import Image, ImageChops
from Xlib import X, Xatom, display, error, protocol

def game_facts_file() -> Path:
    """The description of the game's files as the build wrote it: beside the
    game's folder, so found from the --game-dir or --build-dir that programs
    using this harness are given, else in the repository's build/ (or named
    by VOMBA_GAME_FACTS)."""
    named = os.environ.get("VOMBA_GAME_FACTS")
    if named:
        return Path(named)
    parser = argparse.ArgumentParser(add_help=False, allow_abbrev=False)
    parser.add_argument("--game-dir", type=Path)
    parser.add_argument("--build-dir", type=Path)
    folders, _ = parser.parse_known_args()
    if folders.build_dir:
        return folders.build_dir / "game_facts.json"
    if folders.game_dir:
        return folders.game_dir.parent / "game_facts.json"
    return Path(__file__).resolve().parents[2] / "build" / "game_facts.json"


def _read_game_facts() -> dict:
    path = game_facts_file()
    try:
        return json.loads(path.read_text())
    except (OSError, ValueError) as problem:
        sys.exit(f"harness: cannot read the description of the game's files {path} "
                 f"(the build writes it with the pictures): {problem}")


GAME_FACTS = _read_game_facts()

GAME_EXECUTABLE = "vombapong"
# What the executable is started with: nothing for the Linux build; the Windows
# build's cases (tests/windows/) set Wine's launcher here and the .exe above.
GAME_LAUNCHER: list[str] = []
WINDOW_TITLE = "VombaPong DO NOT DISTRIBUTE"
WINDOW_X, WINDOW_Y = 300, 100
WINDOW_WIDTH, WINDOW_HEIGHT = GAME_FACTS["court"]  # the window shows the whole court
SCREEN_SIZE = "1280x800x24"

# Court colour under every sprite's transparent magenta.
COURT_GREEN = tuple(GAME_FACTS["court_colour"])
MAGENTA = tuple(GAME_FACTS["key_colour"])
PADDLE_W, PADDLE_H = GAME_FACTS["paddle"]
BALL_SIZE = GAME_FACTS["ball_size"]

# What the game says once where OpenGL draws on the processor, as under Xvfb:
# a notice, not a problem.
SOFTWARE_RENDERER_NOTICE = "VombaPong: no graphics card found; drawing with the software renderer"

# Generous guards against hangs; nothing is timed against them.
START_TIMEOUT_S = 20.0
COURT_TIMEOUT_S = 30.0  # the intro wait is about 5 s
EXIT_TIMEOUT_S = 30.0
POLL_INTERVAL_S = 0.05
# How long a window must stay the same one before it counts as the game's.
WINDOW_SETTLE_S = 0.3


class CaseFailed(AssertionError):
    """A check of a case did not hold."""


@dataclass(frozen=True)
class Rect:
    x: int
    y: int
    w: int
    h: int

    def box(self) -> tuple[int, int, int, int]:
        return (self.x, self.y, self.x + self.w, self.y + self.h)

    def moved(self, dx: int, dy: int) -> "Rect":
        return Rect(self.x + dx, self.y + dy, self.w, self.h)


@dataclass
class Comparison:
    name: str
    differing: int
    total: int
    max_fraction: float
    diff_mask: Image.Image

    @property
    def fraction(self) -> float:
        return self.differing / self.total if self.total else 0.0

    @property
    def ok(self) -> bool:
        return self.fraction <= self.max_fraction

    def describe(self) -> str:
        return (f"{self.name}: {self.differing} of {self.total} pixels differ "
                f"({self.fraction:.4%}, allowed {self.max_fraction:.4%})")


def log(message: str) -> None:
    print(f"[e2e {time.strftime('%H:%M:%S')}] {message}", flush=True)


def compare_images(actual: Image.Image, expected: Image.Image, name: str = "picture",
                   tolerance: int = 24, max_fraction: float = 0.001,
                   ignore: Iterable[Rect] = ()) -> Comparison:
    """Compare two RGB pictures of the same size.

    A pixel differs when any channel differs by more than `tolerance`.
    Rectangles in `ignore` (in the pictures' own coordinates) are not looked at.
    """
    actual = actual.convert("RGB")
    expected = expected.convert("RGB")
    if actual.size != expected.size:
        raise CaseFailed(f"{name}: size {actual.size} differs from expected {expected.size}")
    channel_diff = ImageChops.difference(actual, expected)
    # A pixel's difference is its largest channel difference.
    r, g, b = channel_diff.split()
    largest = ImageChops.lighter(ImageChops.lighter(r, g), b)
    mask = largest.point(lambda v: 255 if v > tolerance else 0)
    considered = Image.new("L", actual.size, 255)
    for rect in ignore:
        mask.paste(0, rect.box())
        considered.paste(0, rect.box())
    differing = mask.histogram()[255]
    total = considered.histogram()[255]
    return Comparison(name, differing, total, max_fraction, mask)


def compose_sprite(background: Image.Image, sprite: Image.Image, at: tuple[int, int]) -> Image.Image:
    """Draw `sprite` over `background` at `at`, magenta pixels left transparent."""
    result = background.convert("RGB").copy()
    sprite = sprite.convert("RGB")
    keyed = Image.new("L", sprite.size, 0)
    keyed.putdata([0 if p == MAGENTA else 255 for p in sprite.getdata()])
    result.paste(sprite, at, keyed)
    return result


class XServer:
    """An Xvfb of our own on the first free display number; `extra_args` are
    more of Xvfb's options (a font path, say)."""

    def __init__(self, log_path: Path, extra_args: Iterable[str] = ()):
        read_fd, write_fd = os.pipe()
        self._log = open(log_path, "wb")
        self.process = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write_fd), "-screen", "0", SCREEN_SIZE,
             "-nolisten", "tcp", "-noreset", *extra_args],
            pass_fds=(write_fd,), stdout=self._log, stderr=subprocess.STDOUT,
            start_new_session=True)
        os.close(write_fd)
        number = b""
        deadline = time.monotonic() + START_TIMEOUT_S
        os.set_blocking(read_fd, False)
        while not number.endswith(b"\n"):
            if self.process.poll() is not None:
                os.close(read_fd)
                raise RuntimeError(f"Xvfb ended with {self.process.returncode}; see {log_path}")
            if time.monotonic() > deadline:
                os.close(read_fd)
                self.stop()
                raise RuntimeError("Xvfb did not report its display number")
            try:
                chunk = os.read(read_fd, 64)
            except BlockingIOError:
                chunk = b""
            if chunk:
                number += chunk
            else:
                time.sleep(POLL_INTERVAL_S)
        os.close(read_fd)
        self.name = f":{number.decode().strip()}"

    def stop(self) -> None:
        if self.process.poll() is None:
            self.process.terminate()
            try:
                self.process.wait(timeout=10)
            except subprocess.TimeoutExpired:
                self.process.kill()
                self.process.wait()
        self._log.close()


class Session:
    """One X server, at most one running game, and the tools to play it."""

    def __init__(self, game_dir: Path, artifacts: Path, renderer: str = "default",
                 audio_driver: str = "dummy", xvfb_args: Iterable[str] = ()):
        self.game_dir = Path(game_dir).resolve()
        self.artifacts = Path(artifacts)
        self.artifacts.mkdir(parents=True, exist_ok=True)
        self.renderer = renderer
        self.audio_driver = audio_driver
        self.game: Optional[subprocess.Popen] = None
        self.game_dir_in_use = self.game_dir
        self._stderr_path = self.artifacts / "game-stderr.txt"
        self._stdout_path = self.artifacts / "game-stdout.txt"
        self._temp_dirs: list[Path] = []
        self.xserver = XServer(self.artifacts / "xvfb.log", xvfb_args)
        self.env = dict(os.environ, DISPLAY=self.xserver.name)
        self.env.pop("XAUTHORITY", None)
        self.d = display.Display(self.xserver.name)
        self.root = self.d.screen().root
        self._wm_protocols = self.d.intern_atom("WM_PROTOCOLS")
        self._wm_delete = self.d.intern_atom("WM_DELETE_WINDOW")
        self._net_wm_name = self.d.intern_atom("_NET_WM_NAME")
        self._utf8 = self.d.intern_atom("UTF8_STRING")
        log(f"X server {self.xserver.name}, renderer {renderer}, audio {audio_driver}")

    # ----- life cycle -------------------------------------------------------

    def __enter__(self) -> "Session":
        return self

    def __exit__(self, *exc) -> None:
        self.close_all()

    def close_all(self) -> None:
        if self.game is not None and self.game.poll() is None:
            log("game still running at tear-down: killing it")
            try:
                os.killpg(self.game.pid, signal.SIGKILL)
            except ProcessLookupError:
                pass
            self.game.wait()
        try:
            self.d.close()
        except Exception:
            pass
        self.xserver.stop()
        for path in self._temp_dirs:
            shutil.rmtree(path, ignore_errors=True)

    # ----- the game's files -------------------------------------------------

    def game_copy_without(self, *names: str) -> Path:
        """A private copy of the game directory with the named files removed."""
        copy = Path(tempfile.mkdtemp(prefix="vomba-e2e-"))
        self._temp_dirs.append(copy)
        target = copy / "game"
        shutil.copytree(self.game_dir, target, symlinks=True)
        for name in names:
            (target / name).unlink()
        return target

    def picture(self, name: str) -> Image.Image:
        """One of the game's own pictures, as RGB."""
        with Image.open(self.game_dir / name) as picture:
            return picture.convert("RGB")

    # ----- the game process -------------------------------------------------

    def start_game(self, game_dir: Optional[Path] = None, extra_env: Optional[dict] = None,
                   audio_driver: Optional[str] = None) -> None:
        """Start the game from its directory (it reads its files by bare name)."""
        if audio_driver:
            self.audio_driver = audio_driver
        self.game_dir_in_use = Path(game_dir) if game_dir else self.game_dir
        executable = self.game_dir_in_use / GAME_EXECUTABLE
        if not executable.exists():
            raise CaseFailed(f"no game executable at {executable}")
        env = dict(self.env, SDL_AUDIODRIVER=self.audio_driver)
        if self.renderer != "default":
            env["SDL_RENDER_DRIVER"] = self.renderer
        else:
            env.pop("SDL_RENDER_DRIVER", None)
        if self.audio_driver == "disk":
            env["SDL_DISKAUDIOFILE"] = str(self.artifacts / "audio.raw")
        env.update(extra_env or {})
        self._stderr = open(self._stderr_path, "wb")
        self._stdout = open(self._stdout_path, "wb")
        self.game = subprocess.Popen([*GAME_LAUNCHER, str(executable)], cwd=self.game_dir_in_use,
                                     env=env,
                                     stdout=self._stdout, stderr=self._stderr,
                                     start_new_session=True)
        log(f"game started, pid {self.game.pid}, in {self.game_dir_in_use}")

    def game_running(self) -> bool:
        return self.game is not None and self.game.poll() is None

    def wait_exit(self, timeout: float = EXIT_TIMEOUT_S) -> int:
        """Wait for the game to end and give its exit code; kill it on timeout."""
        assert self.game is not None
        try:
            code = self.game.wait(timeout=timeout)
        except subprocess.TimeoutExpired:
            self.save_screen("hung")
            os.killpg(self.game.pid, signal.SIGKILL)
            self.game.wait()
            raise CaseFailed(f"game did not end within {timeout:.0f} s; killed it")
        self._stderr.close()
        self._stdout.close()
        log(f"game ended with exit code {code}")
        return code

    def expect_exit(self, expected: int, timeout: float = EXIT_TIMEOUT_S) -> None:
        code = self.wait_exit(timeout)
        if code != expected:
            raise CaseFailed(f"exit code {code}, expected {expected}; stderr: {self.stderr()!r}")

    def stderr(self) -> str:
        try:
            return self._stderr_path.read_text(errors="replace")
        except FileNotFoundError:
            return ""

    def problem_lines(self) -> list[str]:
        """The game's non-empty stderr lines but the software renderer notice."""
        return [line for line in self.stderr().splitlines()
                if line.strip() and line != SOFTWARE_RENDERER_NOTICE]

    # ----- windows ----------------------------------------------------------

    def window_title(self, win) -> str:
        try:
            prop = win.get_full_property(self._net_wm_name, self._utf8)
            if prop is not None and prop.value:
                value = prop.value
                return value.decode("utf-8", "replace") if isinstance(value, bytes) else str(value)
            name = win.get_wm_name()
            if isinstance(name, bytes):
                name = name.decode("latin-1")
            return name or ""
        except error.XError:
            return ""

    def windows(self) -> list:
        """Every window on the screen, depth first."""
        found, stack = [], [self.root]
        while stack:
            win = stack.pop()
            try:
                children = win.query_tree().children
            except error.XError:
                continue
            found.extend(children)
            stack.extend(children)
        return found

    def find_window(self, matches: Callable[[str], bool], what: str,
                    timeout: float = START_TIMEOUT_S, mapped: bool = True):
        deadline = time.monotonic() + timeout
        while time.monotonic() < deadline:
            for win in self.windows():
                if not matches(self.window_title(win)):
                    continue
                if mapped:
                    try:
                        if win.get_attributes().map_state != X.IsViewable:
                            continue
                    except error.XError:
                        continue
                return win
            if self.game is not None and self.game.poll() is not None:
                raise CaseFailed(f"game ended ({self.game.returncode}) before {what} appeared; "
                                 f"stderr: {self.stderr()!r}")
            time.sleep(POLL_INTERVAL_S)
        self.save_screen(f"no-{what.replace(' ', '-')}")
        raise CaseFailed(f"{what} did not appear within {timeout:.0f} s")

    def find_game_window(self, timeout: Optional[float] = None):
        """The game's window once it is the final one (within START_TIMEOUT_S
        unless `timeout` says otherwise).

        Making an OpenGL renderer replaces the window SDL first created with a
        new one of the same title, so a window is only taken once the same one
        is still there, mapped, a moment later.
        """
        deadline = time.monotonic() + (START_TIMEOUT_S if timeout is None else timeout)
        while True:
            win = self.find_window(lambda t: t == WINDOW_TITLE, "game window",
                                   max(deadline - time.monotonic(), POLL_INTERVAL_S))
            time.sleep(WINDOW_SETTLE_S)
            again = self.find_window(lambda t: t == WINDOW_TITLE, "game window",
                                     max(deadline - time.monotonic(), POLL_INTERVAL_S))
            if again.id == win.id:
                return win

    def geometry(self, win) -> Rect:
        """The window's inner rectangle in screen coordinates."""
        g = win.get_geometry()
        origin = self.root.translate_coords(win, 0, 0)
        return Rect(origin.x, origin.y, g.width, g.height)

    def expect_geometry(self, win) -> None:
        rect = self.geometry(win)
        want = Rect(WINDOW_X, WINDOW_Y, WINDOW_WIDTH, WINDOW_HEIGHT)
        if rect != want:
            raise CaseFailed(f"window at {rect}, expected {want}")

    def close(self, win) -> None:
        """Ask the window to close, as a window manager's close button does."""
        ev = protocol.event.ClientMessage(
            window=win, client_type=self._wm_protocols,
            data=(32, [self._wm_delete, X.CurrentTime, 0, 0, 0]))
        win.send_event(ev, event_mask=X.NoEventMask)
        self.d.flush()
        log(f"sent WM_DELETE_WINDOW to 0x{win.id:x}")

    def dismiss_message_box(self, matches: Callable[[str], bool],
                            timeout: float = START_TIMEOUT_S) -> tuple[str, Rect]:
        """Find a message box by its title and press Return in it, as a user would.

        Returns the box's title and rectangle.  Falls back to closing it with
        WM_DELETE_WINDOW if Return does not make it go away.
        """
        box = self.find_window(matches, "message box", timeout)
        title = self.window_title(box)
        rect = self.geometry(box)
        self.save_screen("message-box")
        log(f"message box {title!r} at {rect}; pressing Return")
        self.xdotool("key", "--window", str(box.id), "Return")
        if not self._wait_gone(box, 5.0):
            log("Return did not close the message box; sending WM_DELETE_WINDOW")
            self.close(box)
            if not self._wait_gone(box, 5.0):
                raise CaseFailed("message box could not be dismissed")
        return title, rect

    def _wait_gone(self, win, timeout: float) -> bool:
        deadline = time.monotonic() + timeout
        while time.monotonic() < deadline:
            try:
                if win.get_attributes().map_state != X.IsViewable:
                    return True
            except error.XError:
                return True
            time.sleep(POLL_INTERVAL_S)
        return False

    # ----- the mouse --------------------------------------------------------

    def xdotool(self, *args: str) -> None:
        subprocess.run(["xdotool", *args], env=self.env, check=True, timeout=START_TIMEOUT_S,
                       stdout=subprocess.DEVNULL)

    def move(self, x: int, y: int) -> None:
        """Move the pointer to screen position (x, y)."""
        self.xdotool("mousemove", str(x), str(y))

    def move_in_window(self, x: int, y: int) -> None:
        self.move(WINDOW_X + x, WINDOW_Y + y)

    def move_relative(self, dx: int, dy: int) -> None:
        """Move the pointer by (dx, dy): what relative mouse mode hears."""
        self.xdotool("mousemove_relative", "--", str(dx), str(dy))

    def click(self, button: int = 1) -> None:
        self.xdotool("click", str(button))

    def pointer(self) -> tuple[int, int]:
        p = self.root.query_pointer()
        return p.root_x, p.root_y

    # ----- the screen -------------------------------------------------------

    def window_rect(self) -> Rect:
        return Rect(WINDOW_X, WINDOW_Y, WINDOW_WIDTH, WINDOW_HEIGHT)

    def in_window(self, x: int, y: int, w: int, h: int) -> Rect:
        """A rectangle given in window coordinates, in screen coordinates."""
        return Rect(WINDOW_X + x, WINDOW_Y + y, w, h)

    def grab(self, rect: Rect) -> Image.Image:
        raw = self.root.get_image(rect.x, rect.y, rect.w, rect.h, X.ZPixmap, 0xFFFFFFFF)
        return Image.frombytes("RGB", (rect.w, rect.h), raw.data, "raw", "BGRX")

    def grab_window(self) -> Image.Image:
        return self.grab(self.window_rect())

    def save_screen(self, label: str) -> Path:
        path = self.artifacts / f"screen-{label}.png"
        try:
            self.grab(Rect(0, 0, 1280, 800)).save(path)
        except Exception as exc:  # the server may be gone already
            log(f"could not save {path}: {exc}")
        return path

    def save_comparison(self, comparison: Comparison, actual: Image.Image,
                        expected: Image.Image) -> None:
        stem = self.artifacts / comparison.name.replace(" ", "-")
        actual.save(f"{stem}-actual.png")
        expected.save(f"{stem}-expected.png")
        diff = actual.convert("RGB").copy()
        diff.paste((255, 0, 0), (0, 0), comparison.diff_mask)
        diff.save(f"{stem}-diff.png")
        log(f"saved {stem}-actual.png, -expected.png, -diff.png")

    def expect_matches(self, rect: Rect, expected: Image.Image, name: str, **options) -> Comparison:
        actual = self.grab(rect)
        result = compare_images(actual, expected, name, **options)
        log(result.describe())
        if not result.ok:
            self.save_comparison(result, actual, expected)
            raise CaseFailed(result.describe())
        return result

    def wait_until_matches(self, rect: Rect, expected: Image.Image, name: str,
                           timeout: float = COURT_TIMEOUT_S, **options) -> Comparison:
        """Poll the screen until `rect` matches `expected`; fail after `timeout`."""
        deadline = time.monotonic() + timeout
        while True:
            actual = self.grab(rect)
            result = compare_images(actual, expected, name, **options)
            if result.ok:
                log(result.describe())
                return result
            if self.game is not None and self.game.poll() is not None:
                break
            if time.monotonic() > deadline:
                break
            time.sleep(POLL_INTERVAL_S)
        log(result.describe())
        self.save_comparison(result, actual, expected)
        if self.game is not None and self.game.poll() is not None:
            raise CaseFailed(f"game ended ({self.game.returncode}) while waiting for {name}; "
                             f"stderr: {self.stderr()!r}")
        raise CaseFailed(f"{name} did not appear within {timeout:.0f} s: {result.describe()}")

    def wait_until(self, condition: Callable[[], bool], what: str,
                   timeout: float = START_TIMEOUT_S) -> None:
        deadline = time.monotonic() + timeout
        while not condition():
            if time.monotonic() > deadline:
                self.save_screen(f"timeout-{what.replace(' ', '-')}")
                raise CaseFailed(f"{what}: not reached within {timeout:.0f} s")
            time.sleep(POLL_INTERVAL_S)

    def wait_until_still(self, rect: Rect, what: str, interval: float = 0.15,
                         timeout: float = START_TIMEOUT_S) -> Image.Image:
        """Poll until two grabs `interval` apart are equal; return the picture."""
        previous = self.grab(rect)
        deadline = time.monotonic() + timeout
        while True:
            time.sleep(interval)
            current = self.grab(rect)
            if compare_images(current, previous, what, tolerance=0, max_fraction=0).ok:
                return current
            if time.monotonic() > deadline:
                current.save(self.artifacts / f"{what.replace(' ', '-')}-last.png")
                raise CaseFailed(f"{what}: the picture kept changing for {timeout:.0f} s")
            previous = current


# ----- running cases --------------------------------------------------------

Case = Callable[[Session], None]


def main(cases: dict[str, Case]) -> None:
    parser = argparse.ArgumentParser(description="VombaPong end-to-end cases")
    parser.add_argument("--game-dir", required=True, type=Path,
                        help="directory of the built vombapong and its pictures and sounds")
    parser.add_argument("--case", choices=sorted(cases), action="append",
                        help="case to run (repeatable); default: all of this file")
    parser.add_argument("--renderer", default="default", choices=["default", "software", "opengl"],
                        help="SDL render driver; default leaves SDL to choose")
    parser.add_argument("--audio", default="dummy", choices=["dummy", "disk"],
                        help="SDL audio driver for the game")
    parser.add_argument("--artifacts", type=Path, default=None,
                        help="where screenshots of failures go (default: ./e2e-artifacts)")
    args = parser.parse_args()

    selected = args.case or sorted(cases)
    artifacts_root = args.artifacts or Path.cwd() / "e2e-artifacts"
    outcome = 0
    for name in selected:
        artifacts = artifacts_root / f"{name}-{args.renderer}"
        if artifacts.exists():
            shutil.rmtree(artifacts)
        started = time.monotonic()
        log(f"case {name} ({args.renderer} renderer): start")
        try:
            with Session(args.game_dir, artifacts, args.renderer, args.audio,
                         getattr(cases[name], "xvfb_args", ())) as session:
                cases[name](session)
        except CaseFailed as failure:
            log(f"case {name}: FAILED after {time.monotonic() - started:.1f} s: {failure}")
            log(f"artifacts in {artifacts}")
            outcome = 1
            continue
        except Exception:
            traceback.print_exc()
            log(f"case {name}: ERROR after {time.monotonic() - started:.1f} s; artifacts in {artifacts}")
            outcome = 1
            continue
        log(f"case {name}: passed in {time.monotonic() - started:.1f} s")
    sys.exit(outcome)


# ----- shared steps of the game ---------------------------------------------

# The sprite sheet's pieces the scoreboard copies ("digits" is a list of ten),
# and the places on the window where it shows them.
SHEET = {name: [Rect(*r) for r in value] if name == "digits" else Rect(*value)
         for name, value in GAME_FACTS["sheet"].items()}
SCREEN = {name: Rect(*value) for name, value in GAME_FACTS["screen"].items()}

# What the frame loop draws over the court: the two score digits, the ball at
# its serve place and the computer paddle's column. The places are the rules'
# (app/startup.cpp, game/ball_rules.h, game/paddle_rules.h).
SCORE_CELLS = (SCREEN["player_units"], SCREEN["computer_units"])
BALL_START = Rect(184, 182, BALL_SIZE, BALL_SIZE)
BALL_SERVE_AFTER_POINT = Rect(100, 182, BALL_SIZE, BALL_SIZE)
COMPUTER_COLUMN = Rect(530, 0, PADDLE_W, WINDOW_HEIGHT)
FRAME_LOOP_DRAWS = (*SCORE_CELLS, BALL_START, COMPUTER_COLUMN)


def open_title(s: Session, game_dir: Optional[Path] = None):
    """Start the game and wait for its window showing the title picture.

    A click before the title is on screen may reach no window at all, so
    every case waits for it before it clicks.
    """
    s.start_game(game_dir)
    win = s.find_game_window()
    s.expect_geometry(win)
    s.wait_until_matches(s.window_rect(), s.picture("Start.bmp"), "title picture",
                         timeout=START_TIMEOUT_S)
    return win


def click_past_title(s: Session, button: int = 1) -> None:
    """Click on the start screen and wait for the court after the intro wait
    (everything the frame loop draws on it is left out of the comparison)."""
    s.move_in_window(300, 200)
    s.click(button)
    log(f"clicked button {button} on the title picture")
    s.wait_until_matches(s.window_rect(), s.picture("pong.bmp"), "court",
                         ignore=FRAME_LOOP_DRAWS)


def leave_start_screen(s: Session, button: int = 1):
    """Start the game, check its window and title picture, click to start.

    Returns the game window once the court is on screen.
    """
    win = open_title(s)
    click_past_title(s, button)
    return win


def looks_like_our_message_box(title: str) -> bool:
    """The title of the game's error box, not of the game window."""
    lowered = title.lower()
    return title != WINDOW_TITLE and ("vombapong" in lowered or "error" in lowered)


def stop_at_message_box(s: Session, game_dir: Path) -> None:
    """Start the game from `game_dir`, click past the title, and dismiss the
    error box that stops it as a user would; the game's stderr is then read."""
    open_title(s, game_dir)
    s.move_in_window(300, 200)
    s.click(1)
    title, rect = s.dismiss_message_box(looks_like_our_message_box, timeout=COURT_TIMEOUT_S)
    log(f"dismissed message box {title!r} at {rect}")


def ball_at_rest_picture(s: Session, place: Rect = BALL_START) -> Image.Image:
    """The ball over the court at `place` (window coordinates)."""
    court = s.picture("pong.bmp").crop(place.box())
    return compose_sprite(court, s.picture("ball.bmp"), (0, 0))


def paddle_picture(s: Session, at: tuple[int, int]) -> Image.Image:
    """The player's paddle over the court at window position `at`."""
    x, y = at
    court = s.picture("pong.bmp").crop((x, y, x + PADDLE_W, y + PADDLE_H))
    return compose_sprite(court, s.picture("vombaGruen.bmp"), (0, 0))


def pointer_held(s: Session) -> bool:
    """Whether the window holds the pointer, as relative mouse mode does in play
    (not paused, not at the end of a match): asked to go far outside the
    window, the pointer stays inside. An absolute move gives the game no event
    in relative mode, and outside the window none at all, so asking does not
    disturb the game."""
    s.move(50, 50)
    x, y = s.pointer()
    return (WINDOW_X <= x < WINDOW_X + WINDOW_WIDTH
            and WINDOW_Y <= y < WINDOW_Y + WINDOW_HEIGHT)


def wait_for_ball_to_leave_start(s: Session, timeout: float = 10.0) -> None:
    """Wait until the ball resting at its start place has been served away."""
    start = BALL_START
    ball = s.in_window(start.x, start.y, start.w, start.h)
    resting = ball_at_rest_picture(s)
    s.wait_until(lambda: not compare_images(s.grab(ball), resting, "ball").ok,
                 "the served ball leaves its place", timeout=timeout)


# Right of the player's paddle at the serve (150, 150), below the scores and
# left of the computer's column: bare court until a served ball flies there.
BALL_FLIGHT = Rect(230, 60, 300, 340)


def wait_for_ball_in_flight(s: Session, timeout: float = 10.0) -> None:
    """Wait until the served ball is seen flying right of the player's paddle.

    Its resting place lies under the paddle that serves it, so a change
    there proves nothing: a ball that never moves would pass for served.
    """
    rect = s.in_window(BALL_FLIGHT.x, BALL_FLIGHT.y, BALL_FLIGHT.w, BALL_FLIGHT.h)
    court = s.picture("pong.bmp").crop(BALL_FLIGHT.box())
    s.wait_until(lambda: not compare_images(s.grab(rect), court, "ball in flight",
                                            max_fraction=0.002).ok,
                 "the served ball flies right of the paddle", timeout=timeout)


def require_frame_loop(s: Session) -> None:
    """Fail the case unless the game plays: the first frame of play draws the
    ball at its serve place, where a game whose frame loop does nothing
    leaves the bare court."""
    rect = s.in_window(BALL_START.x, BALL_START.y, BALL_START.w, BALL_START.h)
    expected = ball_at_rest_picture(s)
    deadline = time.monotonic() + 5.0
    while time.monotonic() < deadline:
        if compare_images(s.grab(rect), expected, "ball", max_fraction=0.01).ok:
            return
        time.sleep(POLL_INTERVAL_S)
    s.grab(rect).save(s.artifacts / "ball-area.png")
    raise CaseFailed("the game does not play: the ball is not drawn at its serve place "
                     "(184, 182) within 5 s of the court appearing")
