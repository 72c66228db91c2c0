"""The Windows build played under Wine in Xvfb, as a Windows player plays it.

VombaPong.exe runs from the zip's own contents, unpacked with a fresh Wine
prefix by wine_prefix.py (CTest names both: --game-dir and WINEPREFIX), and
is driven through the end-to-end runner and the desktop-test tools like the
Linux build. Each case catches a fault of its own that only the Windows build
can have; the Linux layers test the rules.
"""

from __future__ import annotations

import os
from pathlib import Path
from typing import Optional

import harness
from vomba_desktop import CaseFailed, log
from vomba_desktop.pictures import compare_images
from vomba_desktop.session import COURT_TIMEOUT_S, Session
from vomba_desktop.steps import (click_past_title, leave_start_screen, open_title, pointer_held,
                                 require_frame_loop, serve)

WINE = os.environ.get("VOMBA_WINE", "/usr/lib/wine/wine64")
# Wine starts a program in 1.5 to 4 s on a quiet machine, several times that
# on a busy one: a longer guard for the window to come.
WINE_START_TIMEOUT_S = 60.0


class WineSession(Session):
    """A session whose game is VombaPong.exe under Wine; `through` names what
    Wine starts it with (nothing: as from a terminal)."""

    through: list[str] = []

    def start_game(self, game_dir: Optional[Path] = None, extra_env: Optional[dict] = None,
                   audio_driver: Optional[str] = None, command: Optional[list[str]] = None,
                   cwd: Optional[Path] = None) -> None:
        exe = Path(game_dir or self.game_dir) / "VombaPong.exe"
        super().start_game(game_dir, extra_env, audio_driver,
                           command or [WINE, *self.through, str(exe)], cwd)

    def find_game_window(self, timeout: float = WINE_START_TIMEOUT_S):
        return super().find_game_window(timeout)


def title_then_court(s: Session) -> None:
    """The title exactly as Start.bmp, at the window's place; a click; the court
    after the intro wait; the game plays."""
    win = open_title(s)
    s.expect_matches(s.window_rect(), s.picture("Start.bmp"), "title pixel for pixel",
                     tolerance=0, max_fraction=0)
    click_past_title(s)
    require_frame_loop(s)
    s.close(win)
    s.expect_exit(0)


def mouse_serve_pause(s: Session) -> None:
    """The creature follows relative mouse motion and serves; a click pauses and
    frees the pointer, another resumes and holds it; the sounds are heard."""
    s.audio_driver = "disk"
    win = leave_start_screen(s)
    require_frame_loop(s)
    serve(s)
    s.click(1)
    still = s.wait_until_still(s.window_rect(), "paused picture", interval=0.3, timeout=10.0)
    if pointer_held(s):
        raise CaseFailed("the pointer is still held while paused")
    s.move_in_window(300, 200)  # free, the pointer went where it was asked: outside
    s.click(1)
    s.wait_until(lambda: not compare_images(s.grab_window(), still, "resumed",
                                            tolerance=0, max_fraction=0).ok,
                 "play resumes", timeout=10.0)
    if not pointer_held(s):
        raise CaseFailed("the pointer is not held again after resuming")
    s.close(win)
    s.expect_exit(0)
    if not any((s.artifacts / "audio.raw").read_bytes()):
        raise CaseFailed("the intro and the hits were not played: only silence was recorded")


def close_while_playing(s: Session) -> None:
    """A close request in play, the pointer held, ends the game with 0."""
    win = leave_start_screen(s)
    require_frame_loop(s)
    serve(s)
    if not pointer_held(s):
        raise CaseFailed("the pointer is not held in play")
    s.close(win)
    s.expect_exit(0)


def no_console_boxes(s: Session) -> None:
    """Started as Explorer starts it, with no console: a missing sound is told in a
    box and the game plays on; a missing picture is told in a box and ends it with 1."""
    folder = s.game_copy_without("1g.wav", "ball.bmp")
    s.through = ["start", "/wait", "/unix"]
    open_title(s, folder)
    s.move_in_window(300, 200)
    s.click(1)
    for title, what in (("VombaPong", "1g.wav"), ("VombaPong cannot go on", "ball.bmp")):
        shown, _ = harness.dismiss_message_box(s, lambda t, title=title: t == title,
                                               timeout=COURT_TIMEOUT_S)
        log(f"the box {shown!r} for the missing {what} was shown and dismissed")
    s.expect_exit(1)


CASES = {
    "title_then_court": title_then_court,
    "mouse_serve_pause": mouse_serve_pause,
    "close_while_playing": close_while_playing,
    "no_console_boxes": no_console_boxes,
}

if __name__ == "__main__":
    harness.main(CASES, WineSession)
