"""The Windows build played under Wine in Xvfb, as a Windows player plays it.

VombaPong.exe runs from the zip's own contents, unpacked with a fresh Wine
prefix by wine_prefix.py (CTest names both: --game-dir and WINEPREFIX), and
is driven through the end-to-end harness like the Linux build. Each case
catches a fault of its own that only the Windows build can have; the Linux
layers test the rules.
"""

from __future__ import annotations

import os

import harness
from harness import CaseFailed, Session, log
# Relative motion only: the paddle pushed into its top-left clamp, then onto
# the ball, which flies; then parked beside the serve place.
from test_match import serve_and_park as serve

harness.GAME_EXECUTABLE = "VombaPong.exe"
harness.GAME_LAUNCHER = [os.environ.get("VOMBA_WINE", "/usr/lib/wine/wine64")]
# Wine starts a program in 1.5 to 4 s on a quiet machine, several times that
# on a busy one: a longer guard for the window and the title to come.
harness.START_TIMEOUT_S = 60.0


def title_then_court(s: Session) -> None:
    """The title exactly as Start.bmp, at the window's place; a click; the court
    after the intro wait; the game plays."""
    win = harness.open_title(s)
    s.expect_matches(s.window_rect(), s.picture("Start.bmp"), "title pixel for pixel",
                     tolerance=0, max_fraction=0)
    harness.click_past_title(s)
    harness.require_frame_loop(s)
    s.close(win)
    s.expect_exit(0)


def mouse_serve_pause(s: Session) -> None:
    """The creature follows relative mouse motion and serves; a click pauses and
    frees the pointer, another resumes and holds it; the sounds are heard."""
    s.audio_driver = "disk"
    win = harness.leave_start_screen(s)
    harness.require_frame_loop(s)
    serve(s)
    s.click(1)
    still = s.wait_until_still(s.window_rect(), "paused picture", interval=0.3, timeout=10.0)
    if harness.pointer_held(s):
        raise CaseFailed("the pointer is still held while paused")
    s.move_in_window(300, 200)  # free, the pointer went where it was asked: outside
    s.click(1)
    s.wait_until(lambda: not harness.compare_images(s.grab_window(), still, "resumed",
                                                    tolerance=0, max_fraction=0).ok,
                 "play resumes", timeout=10.0)
    if not harness.pointer_held(s):
        raise CaseFailed("the pointer is not held again after resuming")
    s.close(win)
    s.expect_exit(0)
    if not any((s.artifacts / "audio.raw").read_bytes()):
        raise CaseFailed("the intro and the hits were not played: only silence was recorded")


def close_while_playing(s: Session) -> None:
    """A close request in play, the pointer held, ends the game with 0."""
    win = harness.leave_start_screen(s)
    harness.require_frame_loop(s)
    serve(s)
    if not harness.pointer_held(s):
        raise CaseFailed("the pointer is not held in play")
    s.close(win)
    s.expect_exit(0)


def no_console_boxes(s: Session) -> None:
    """Started as Explorer starts it, with no console: a missing sound is told in a
    box and the game plays on; a missing picture is told in a box and ends it with 1."""
    folder = s.game_copy_without("1g.wav", "ball.bmp")
    harness.GAME_LAUNCHER = [*harness.GAME_LAUNCHER, "start", "/wait", "/unix"]
    harness.open_title(s, folder)
    s.move_in_window(300, 200)
    s.click(1)
    for title, what in (("VombaPong", "1g.wav"), ("VombaPong cannot go on", "ball.bmp")):
        shown, rect = s.dismiss_message_box(lambda t, title=title: t == title,
                                            timeout=harness.COURT_TIMEOUT_S)
        log(f"the box {shown!r} for the missing {what} was shown and dismissed")
    s.expect_exit(1)


CASES = {
    "title_then_court": title_then_court,
    "mouse_serve_pause": mouse_serve_pause,
    "close_while_playing": close_while_playing,
    "no_console_boxes": no_console_boxes,
}

if __name__ == "__main__":
    harness.main(CASES)
