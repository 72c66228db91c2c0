"""Steps of a game that the end-to-end tests, the bench and the preview all
take: from the title picture to the court, the check that the game plays,
the serve, and the paddle parked where it serves every later ball.

Each step acts as a player would (a real pointer, screen grabs) and fails
the case, with artifacts, when the game does not answer as it should.
"""

from __future__ import annotations

import time
from pathlib import Path
from typing import Optional

from PIL import Image

from vomba_desktop import CaseFailed, log
from vomba_desktop.pictures import compare_images, compose_sprite
from vomba_desktop.screen import Rect
from vomba_desktop.session import POLL_INTERVAL_S, START_TIMEOUT_S, Session
from vomba_desktop.values import (BALL_START, FRAME_LOOP_DRAWS, MAGENTA, PADDLE_H, PADDLE_W,
                                  PARK_MOUSE, PARKED_PADDLE, PUSH, SERVE_MOUSE, WINDOW_HEIGHT,
                                  WINDOW_WIDTH, WINDOW_X, WINDOW_Y, paddle_place)

# Right of the player's paddle at the serve (150, 150), below the scores and
# left of the computer's column: bare court until a served ball flies there.
BALL_FLIGHT = Rect(230, 60, 300, 340)


# ----- pictures the game should show -----------------------------------------

def ball_at_rest_picture(s: Session, place: Rect = BALL_START) -> Image.Image:
    """The ball over the court at `place` (window coordinates)."""
    court = s.picture("pong.bmp").crop(place.box())
    return compose_sprite(court, s.picture("ball.bmp"), (0, 0), MAGENTA)


def paddle_picture(s: Session, at: tuple[int, int]) -> Image.Image:
    """The player's paddle over the court at window position `at`."""
    x, y = at
    court = s.picture("pong.bmp").crop((x, y, x + PADDLE_W, y + PADDLE_H))
    return compose_sprite(court, s.picture("vombaGruen.bmp"), (0, 0), MAGENTA)


def expect_paddle_at(s: Session, at: tuple[int, int], name: str) -> None:
    """Wait until the player's paddle shows at window position `at`."""
    rect = s.in_window(at[0], at[1], PADDLE_W, PADDLE_H)
    s.wait_until_matches(rect, paddle_picture(s, at), name, timeout=10.0, max_fraction=0.01)


# ----- from the title to the court ----------------------------------------------

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


def require_frame_loop(s: Session) -> None:
    """Fail the case unless the game plays: the first frame of play draws the
    ball at its start place, where a game whose frame loop does nothing
    leaves the bare court."""
    rect = s.in_window(BALL_START.x, BALL_START.y, BALL_START.w, BALL_START.h)
    expected = ball_at_rest_picture(s)
    deadline = time.monotonic() + 5.0
    while time.monotonic() < deadline:
        if compare_images(s.grab(rect), expected, "ball", max_fraction=0.01).ok:
            return
        time.sleep(POLL_INTERVAL_S)
    s.grab(rect).save(s.artifacts / "ball-area.png")
    raise CaseFailed("the game does not play: the ball is not drawn at its start place "
                     f"({BALL_START.x}, {BALL_START.y}) within 5 s of the court appearing")


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


# ----- the serve and the parked paddle -------------------------------------------

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


def move_mouse_to(s: Session, mouse: tuple[int, int]) -> None:
    """Take the paddle's centre to a mouse place: pushed against the top-left
    clamp, where it stops centred at (30, 45), then moved by the difference."""
    s.move_relative(-PUSH, -PUSH)
    expect_paddle_at(s, (0, 0), "paddle at the top-left clamp")
    s.move_relative(*paddle_place(mouse))


def serve(s: Session) -> None:
    """Serve the first ball as a player does: the paddle pushed against the
    top-left clamp, then moved over the ball resting at its start place.
    Returns once the ball is seen in flight."""
    move_mouse_to(s, SERVE_MOUSE)
    wait_for_ball_in_flight(s)
    log("first ball served")


def park(s: Session) -> None:
    """Park the paddle where it serves every ball resting at the serve place
    after a point, and returns those that come back at that height."""
    move_mouse_to(s, PARK_MOUSE)
    expect_paddle_at(s, PARKED_PADDLE, "paddle parked by the serve place")
