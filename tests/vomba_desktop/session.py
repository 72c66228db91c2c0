"""One X server of our own with the built game in it, and the tools to play it
from outside: find its window, move and click a real pointer, grab the
screen, compare, ask the window to close, read the exit code.

    from vomba_desktop.session import Session

    with Session(game_dir, artifacts) as s:
        s.start_game()
        win = s.find_game_window()
        s.wait_until_matches(s.window_rect(), s.picture("Start.bmp"), "title")
        s.close(win)
        s.expect_exit(0)

A Session always tears down the game and the X server when it ends. Grabs
are not synchronised with the game's presents, so the waiting comparisons
poll until the picture settles or matches, with generous timeouts that only
guard against hangs. A comparison that fails saves the actual picture, the
expected one and a diff (differing pixels red) as PNG files under the
artifacts folder, beside the game's stdout and stderr and the X server's log.
"""

from __future__ import annotations

import os
import shutil
import signal
import subprocess
import tempfile
import time
from pathlib import Path
from typing import Callable, Iterable, Optional

from PIL import Image
from Xlib import display

from vomba_desktop import CaseFailed, log, mouse, pictures, screen, windows
from vomba_desktop.pictures import Comparison
from vomba_desktop.screen import Rect
from vomba_desktop.values import (GAME_EXECUTABLE, SOFTWARE_RENDERER_NOTICE, WINDOW_HEIGHT,
                                  WINDOW_TITLE, WINDOW_WIDTH, WINDOW_X, WINDOW_Y)
from vomba_desktop.xserver import SCREEN_HEIGHT, SCREEN_WIDTH, XServer

# Generous guards against hangs; nothing is timed against them.
START_TIMEOUT_S = 20.0
COURT_TIMEOUT_S = 30.0  # the intro wait is about 5 s
EXIT_TIMEOUT_S = 30.0
POLL_INTERVAL_S = 0.05
# How long a window must stay the same one before it counts as the game's.
WINDOW_SETTLE_S = 0.3


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
        self.env = self.xserver.env()
        self.d = display.Display(self.xserver.name)
        self.root = self.d.screen().root
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
                   audio_driver: Optional[str] = None, command: Optional[list[str]] = None,
                   cwd: Optional[Path] = None) -> None:
        """Start the game from its directory (it reads its files by bare name).

        `command` and `cwd` start it another way (through an installed
        launcher from another folder, say); the renderer, the audio driver and
        `extra_env` apply all the same.
        """
        if audio_driver:
            self.audio_driver = audio_driver
        self.game_dir_in_use = Path(game_dir) if game_dir else self.game_dir
        if command is None:
            executable = self.game_dir_in_use / GAME_EXECUTABLE
            if not executable.exists():
                raise CaseFailed(f"no game executable at {executable}")
            command = [str(executable)]
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
        where = cwd or self.game_dir_in_use
        self.game = subprocess.Popen(command, cwd=where, env=env, stdout=self._stdout,
                                     stderr=self._stderr, start_new_session=True)
        log(f"game started, pid {self.game.pid}, {command} in {where}")

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
        return windows.title(self.d, win)

    def windows(self) -> list:
        """Every window on the screen, depth first."""
        return windows.all_windows(self.root)

    def find_window(self, matches: Callable[[str], bool], what: str,
                    timeout: float = START_TIMEOUT_S):
        def game_ended() -> Optional[str]:
            if self.game is not None and self.game.poll() is not None:
                return (f"game ended ({self.game.returncode}) before {what} appeared; "
                        f"stderr: {self.stderr()!r}")
            return None

        try:
            return windows.find_window(self.d, matches, what, timeout, game_ended)
        except CaseFailed:
            if game_ended() is None:
                self.save_screen(f"no-{what.replace(' ', '-')}")
            raise

    def find_game_window(self, timeout: float = START_TIMEOUT_S):
        """The game's window once it is the final one.

        Making an OpenGL renderer replaces the window SDL first created with a
        new one of the same title, so a window is only taken once the same one
        is still there, mapped, a moment later.
        """
        deadline = time.monotonic() + timeout
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
        return windows.geometry(self.d, win)

    def expect_geometry(self, win) -> None:
        rect = self.geometry(win)
        if rect != self.window_rect():
            raise CaseFailed(f"window at {rect}, expected {self.window_rect()}")

    def close(self, win) -> None:
        """Ask the window to close, as a window manager's close button does."""
        windows.request_close(self.d, win)
        log(f"sent WM_DELETE_WINDOW to 0x{win.id:x}")

    # ----- the mouse --------------------------------------------------------

    def xdotool(self, *args: str) -> None:
        mouse.xdotool(self.env, *args)

    def move(self, x: int, y: int) -> None:
        """Move the pointer to screen position (x, y)."""
        mouse.move(self.env, x, y)

    def move_in_window(self, x: int, y: int) -> None:
        self.move(WINDOW_X + x, WINDOW_Y + y)

    def move_relative(self, dx: int, dy: int) -> None:
        """Move the pointer by (dx, dy): what relative mouse mode hears."""
        mouse.move_relative(self.env, dx, dy)

    def click(self, button: int = 1) -> None:
        mouse.click(self.env, button)

    def pointer(self) -> tuple[int, int]:
        return mouse.pointer(self.root)

    # ----- the screen -------------------------------------------------------

    def window_rect(self) -> Rect:
        return Rect(WINDOW_X, WINDOW_Y, WINDOW_WIDTH, WINDOW_HEIGHT)

    def in_window(self, x: int, y: int, w: int, h: int) -> Rect:
        """A rectangle given in window coordinates, in screen coordinates."""
        return Rect(WINDOW_X + x, WINDOW_Y + y, w, h)

    def grab(self, rect: Rect) -> Image.Image:
        return screen.grab(self.root, rect)

    def grab_window(self) -> Image.Image:
        return self.grab(self.window_rect())

    def save_screen(self, label: str) -> Path:
        path = self.artifacts / f"screen-{label}.png"
        try:
            self.grab(Rect(0, 0, SCREEN_WIDTH, SCREEN_HEIGHT)).save(path)
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
        result = pictures.compare_images(actual, expected, name, **options)
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
            result = pictures.compare_images(actual, expected, name, **options)
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
            if pictures.compare_images(current, previous, what, tolerance=0, max_fraction=0).ok:
                return current
            if time.monotonic() > deadline:
                current.save(self.artifacts / f"{what.replace(' ', '-')}-last.png")
                raise CaseFailed(f"{what}: the picture kept changing for {timeout:.0f} s")
            previous = current
