"""Playing with a real mouse: the player's paddle, the pause, closing mid-game.

During play relative mouse mode is on, so only relative pointer motion
reaches the game; the cases push the mouse against a corner first so that
every later position is known exactly.
"""

import time

from PIL import Image

import harness
from vomba_desktop import CaseFailed, log, pictures, steps, values
from vomba_desktop.screen import Rect
from vomba_desktop.session import POLL_INTERVAL_S, Session
from vomba_desktop.steps import expect_paddle_at
from vomba_desktop.values import PADDLE_H, PADDLE_W, PUSH

PAUSE_TAKES_HOLD_S = 5.0  # a guard only: the first frame normally follows at once


def _paddle_rect(s: Session, at: tuple[int, int]) -> Rect:
    return s.in_window(at[0], at[1], PADDLE_W, PADDLE_H)


def expect_court_at(s: Session, at: tuple[int, int], name: str) -> None:
    x, y = at
    court = s.picture("pong.bmp").crop((x, y, x + PADDLE_W, y + PADDLE_H))
    s.wait_until_matches(_paddle_rect(s, at), court, name, timeout=10.0, max_fraction=0.01)


def pointer_held_by_window(s: Session) -> bool:
    """Try to take the pointer far outside the window; say whether it stayed inside."""
    inside = steps.pointer_held(s)
    log(f"pointer asked to (50, 50), is at {s.pointer()}: {'held' if inside else 'free'}")
    return inside


def paddle_follows_mouse(s: Session) -> None:
    """The paddle follows relative motion, clamped to the left half, and erases behind it."""
    win = steps.leave_start_screen(s)
    steps.require_frame_loop(s)
    if not pointer_held_by_window(s):
        raise CaseFailed("relative mouse mode is not on during play: the pointer left the window")

    s.move_relative(-PUSH, -PUSH)
    expect_paddle_at(s, (0, 0), "paddle at the top-left clamp")

    s.move_relative(70, 55)  # from the clamped centre (30, 45) to (100, 100)
    expect_paddle_at(s, (70, 55), "paddle centred on the mouse")
    expect_court_at(s, (0, 0), "court where the paddle was")

    s.move_relative(PUSH, PUSH)
    expect_paddle_at(s, (240, 310), "paddle at the bottom-right clamp")
    expect_court_at(s, (70, 55), "court where the paddle was before")

    s.move_relative(-50, -50)  # back from far past the clamp: the paddle answers at once
    expect_paddle_at(s, (190, 260), "paddle 50 px back from the bottom-right clamp")

    s.move_relative(-PUSH, PUSH)
    expect_paddle_at(s, (0, 310), "paddle at the bottom-left clamp")
    expect_court_at(s, (190, 260), "court where the paddle was before")

    s.close(win)
    s.expect_exit(0)


def _screen_changes(s: Session, still, what: str) -> None:
    s.wait_until(lambda: not pictures.compare_images(s.grab_window(), still, what,
                                                     tolerance=0, max_fraction=0).ok,
                 what, timeout=5.0)


def cover_and_uncover(s: Session) -> None:
    """Lay a white window over the game's and take it away again.

    The game's window has no background of its own, so the uncovered window
    shows white until the game repaints it.
    """
    screen = s.d.screen()
    rect = s.window_rect()
    cover = s.root.create_window(rect.x, rect.y, rect.w, rect.h, 0, screen.root_depth,
                                 background_pixel=screen.white_pixel, override_redirect=True)
    cover.map()
    s.d.sync()
    white = Image.new("RGB", (rect.w, rect.h), (255, 255, 255))
    s.wait_until_matches(rect, white, "the white cover over the game", timeout=10.0)
    cover.destroy()
    s.d.sync()
    log("window covered and uncovered")


def pause_and_resume(s: Session) -> None:
    """A click freezes play and frees the mouse; another click resumes; an exposure
    while paused is repainted; close while paused."""
    win = steps.leave_start_screen(s)
    steps.require_frame_loop(s)

    steps.serve(s)

    s.click(1)
    still = s.wait_until_still(s.window_rect(), "paused picture", interval=0.15, timeout=10.0)
    # A picture that is still only because the ball scored and rests at its
    # serve place proves nothing about the pause.
    rest = values.BALL_SERVE_AFTER_POINT
    served_again = steps.ball_at_rest_picture(s, rest)
    if pictures.compare_images(still.crop(rest.box()), served_again, "ball",
                               max_fraction=0.01).ok:
        raise CaseFailed("the ball reached a point before the pause took hold: "
                         "the click did not freeze play")
    s.wait_until_still(s.window_rect(), "paused picture", interval=0.3, timeout=0.01)
    s.expect_matches(s.window_rect(), still, "still paused", tolerance=0, max_fraction=0)
    if pointer_held_by_window(s):
        raise CaseFailed("relative mouse mode stays on while paused: the pointer is held")
    # Motion while paused does not move the paddle.
    s.move_in_window(500, 300)
    s.move_relative(-40, -40)
    s.move_in_window(20, 20)
    s.move_in_window(400, 200)
    s.wait_until_still(s.window_rect(), "paused picture after motion", interval=0.3, timeout=5.0)
    s.expect_matches(s.window_rect(), still, "paused picture after motion",
                     tolerance=0, max_fraction=0)
    # A paused game sleeps until an event; an exposure is one, and wakes it.
    cover_and_uncover(s)
    s.wait_until_matches(s.window_rect(), still, "paused picture repainted after an exposure",
                         timeout=5.0, tolerance=0, max_fraction=0)

    s.click(3)  # any button resumes
    _screen_changes(s, still, "play resumes after a right click")
    if not pointer_held_by_window(s):
        raise CaseFailed("relative mouse mode is not back on after resuming")
    s.move_relative(-PUSH, PUSH)
    expect_paddle_at(s, (0, 310), "paddle moves again after resuming")

    s.click(2)  # the middle button pauses too
    still = s.wait_until_still(s.window_rect(), "paused again", interval=0.3, timeout=10.0)
    s.close(win)
    s.expect_exit(0)


def click_during_intro_pauses(s: Session) -> None:
    """A click while the intro plays is handled by the first frame: play starts paused."""
    win = steps.open_title(s)
    s.move_in_window(300, 200)
    s.click(1)
    s.expect_matches(s.window_rect(), s.picture("Start.bmp"), "title during the intro")
    s.click(1)
    log("clicked again during the intro")
    s.wait_until_matches(s.window_rect(), s.picture("pong.bmp"), "court",
                         ignore=values.FRAME_LOOP_DRAWS)
    # The court is on screen a moment before the first frame handles the queued
    # click (the sprites load in between), and the window holds the pointer
    # until then: on a busy machine a single look can fall into that moment.
    deadline = time.monotonic() + PAUSE_TAKES_HOLD_S
    while pointer_held_by_window(s):
        if time.monotonic() > deadline:
            steps.require_frame_loop(s)
            raise CaseFailed("the click made during the intro did not pause play: "
                             "the pointer is held and the ball is drawn")
        time.sleep(POLL_INTERVAL_S)
    # Paused: the picture stays and motion does not bring the paddle out.
    s.move_in_window(300, 200)
    still = s.wait_until_still(s.window_rect(), "paused from the start", interval=0.3,
                               timeout=10.0)
    s.move_in_window(100, 100)
    s.move_relative(30, 30)
    s.wait_until_still(s.window_rect(), "paused after motion", interval=0.3, timeout=10.0)
    s.expect_matches(s.window_rect(), still, "paused after motion", tolerance=0, max_fraction=0)
    # The queued click is handled by the first frame before it draws
    # anything: no scores, no ball, no paddles, the bare court.
    s.expect_matches(s.window_rect(), s.picture("pong.bmp"), "bare court while paused from the start")
    s.move_in_window(300, 200)
    s.click(1)
    steps.require_frame_loop(s)
    if not pointer_held_by_window(s):
        raise CaseFailed("relative mouse mode is not on after resuming")
    s.close(win)
    s.expect_exit(0)


CASES = {
    "paddle_follows_mouse": paddle_follows_mouse,
    "pause_and_resume": pause_and_resume,
    "click_during_intro_pauses": click_during_intro_pauses,
}

if __name__ == "__main__":
    harness.main(CASES)
