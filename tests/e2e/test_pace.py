"""The game's pace as a player sees it: how fast the computer's creature and
the served ball cross the window in real time.

Every frame of play moves the computer's creature 9 pixels (while it chases
its target) and the served ball 6 pixels, and lasts a 30 ms wait plus its
drawing.  The positions come from screen grabs with their time stamps, taken
at random moments, and the speed is a line fitted through all of them, so a
late grab moves the result little.  How long the game spent drawing is seen
from outside its code too: the delay probe of vomba_desktop, preloaded into
the unchanged game, logs each SDL_Delay with the time it really slept, and the
rest of a frame's period is its drawing.  (Sampling where the game sleeps
instead would be skewed on a busy machine: a sampler gets a processor mostly
while the game does not need one.)  The measured speed must lie within a
factor of 1.5 of one step per (30 ms + drawing), either way: a loaded machine
passes, a game 2.6 times too fast does not.
"""

from __future__ import annotations

import random
import time
from dataclasses import dataclass
from pathlib import Path
from typing import Callable, Optional

from PIL import Image, ImageChops

import harness
from vomba_desktop import CaseFailed, delay_probe, log, pictures, steps, values
from vomba_desktop.screen import Rect
from vomba_desktop.session import Session
from vomba_desktop.values import PUSH

FRAME_WAIT_S = values.FRAME_MILLIS / 1000
BALL_STEP_PX = round(0.2 * values.FRAME_MILLIS)        # the served ball: 0.2 px per ms
CREATURE_STEP_PX = round(0.3 * values.FRAME_MILLIS)    # the computer's creature: 0.3 px per ms
TOLERANCE = 1.5
MIN_PLACES = 4         # different places seen, for a line worth fitting
MIN_FRAMES = 3

COMPUTER_COLUMN = values.COMPUTER_COLUMN
# The ball is followed over the middle of the court, between the parked
# paddle and the computer's reach (its hit window begins at x 495).
BALL_BAND = Rect(230, 0, 280, 400)
BALL_FIRST_X, BALL_LAST_X = 240, 470

GRAB_PAUSE_S = (0.002, 0.010)  # random, so grabs fall anywhere in a frame
COURT_TIMEOUT_S = 30.0
FLIGHT_TIMEOUT_S = 8.0

Points = list[tuple[float, int]]  # (seconds of the monotonic clock, pixels)


@dataclass
class Frame:
    start: float  # when the frame's wait began
    slept: float  # how long it lasted, in seconds


def probe(s: Session) -> Path:
    """The delay probe of the build whose game this is."""
    library = delay_probe.probe_library(s.game_dir.parent)
    if not library.exists():
        raise CaseFailed(f"no delay probe at {library}: the build makes it with the tests")
    return library


def read_frames(log_path: Path) -> list[Frame]:
    return [Frame(d.start_ns / 1e9, d.slept_ns / 1e9) for d in delay_probe.read_delays(log_path)]


def opaque_box(sprite: Image.Image) -> tuple[int, int, int, int]:
    """The box of a sprite's pixels that are not its magenta background."""
    return pictures.opaque_mask(sprite, values.MAGENTA).getbbox()


def light_box(picture: Image.Image) -> Optional[tuple[int, int, int, int]]:
    """The box of the pixels that are light in all three channels."""
    light = [band.point(lambda v: 255 if v > 180 else 0)
             for band in picture.convert("RGB").split()]
    return ImageChops.darker(ImageChops.darker(light[0], light[1]), light[2]).getbbox()


def follow(s: Session, rect: Rect, locate: Callable[[Image.Image], Optional[int]],
           done: Callable[[Points], bool], timeout: float) -> Points:
    """Grab `rect` (window coordinates) at random moments until `done`; keep the
    places that `locate` finds, with the time of each grab."""
    screen = rect.moved(values.WINDOW_X, values.WINDOW_Y)
    pause = random.Random(30)
    points: Points = []
    deadline = time.monotonic() + timeout
    while not done(points):
        if time.monotonic() > deadline:
            s.save_screen("pace-timeout")
            raise CaseFailed(f"gave up after {timeout:.0f} s; last places seen {points[-5:]}")
        if not s.game_running():
            raise CaseFailed(f"the game ended ({s.game.returncode}); stderr: {s.stderr()!r}")
        time.sleep(pause.uniform(*GRAB_PAUSE_S))
        before = time.monotonic()
        picture = s.grab(screen)
        place = locate(picture)
        if place is not None:
            points.append(((before + time.monotonic()) / 2, place))
    return points


def fitted_speed(points: Points) -> float:
    """Pixels per second of the least-squares line through the points."""
    n = len(points)
    mean_t = sum(t for t, _ in points) / n
    mean_p = sum(p for _, p in points) / n
    spread = sum((t - mean_t) ** 2 for t, _ in points)
    return sum((t - mean_t) * (p - mean_p) for t, p in points) / spread


def expect_pace(what: str, points: Points, frames: list[Frame], step_px: int) -> None:
    places = len({p for _, p in points})
    if places < MIN_PLACES:
        raise CaseFailed(f"{what}: seen at only {places} places while it moved: {points}")
    start, end = points[0][0], points[-1][0]
    waits = [f for f in frames if start <= f.start <= end]
    if len(waits) < MIN_FRAMES:
        raise CaseFailed(f"{what}: moved {points[-1][1] - points[0][1]} px in "
                         f"{end - start:.2f} s with {len(waits)} frame waits")
    periods = [b.start - a.start for a, b in zip(waits, waits[1:])]
    drawing = sum(p - a.slept for p, a in zip(periods, waits)) / len(periods)
    expected = step_px / (FRAME_WAIT_S + drawing)
    measured = fitted_speed(points)
    ratio = measured / expected
    log(f"{what}: {measured:.0f} px/s over {end - start:.2f} s ({len(points)} grabs, "
        f"{places} places); frames of {sum(periods) / len(periods) * 1000:.1f} ms with "
        f"{drawing * 1000:.1f} ms besides the wait, so {expected:.0f} px/s expected: "
        f"{ratio:.2f} times that")
    if not 1 / TOLERANCE <= ratio <= TOLERANCE:
        raise CaseFailed(f"{what}: {measured:.0f} px/s is {ratio:.2f} times the {expected:.0f} "
                         f"px/s of {step_px} px per 30 ms + {drawing * 1000:.1f} ms of drawing "
                         f"(allowed {1 / TOLERANCE:.2f} to {TOLERANCE:.2f})")


def creature_descent(s: Session) -> Points:
    """From the first frame the computer's creature walks down from the top edge
    towards the resting ball, and stops near its height."""
    court = s.picture("pong.bmp").crop(COMPUTER_COLUMN.box())
    box = opaque_box(s.picture("vombaLILA.bmp"))
    size = (box[2] - box[0], box[3] - box[1])

    def locate(picture: Image.Image) -> Optional[int]:
        difference = ImageChops.difference(picture, court).convert("L")
        seen = difference.point(lambda v: 255 if v > 24 else 0).getbbox()
        # The title, the bare court and a grab torn between two presents are not it.
        if seen is None or (seen[2] - seen[0], seen[3] - seen[1]) != size:
            return None
        return seen[1] - box[1]

    def settled(points: Points) -> bool:
        # At one height for 0.4 s after it was seen at another.
        if len({y for _, y in points}) < 2:
            return False
        last_t, last_y = points[-1]
        return last_t - max(t for t, y in points if y != last_y) > 0.4

    return follow(s, COMPUTER_COLUMN, locate, settled, COURT_TIMEOUT_S)


def way_down(points: Points, frames: list[Frame]) -> Points:
    """The creature's first walk: while its height grows without a rest of more
    than a few frames (its target moves each second, and may send it on again),
    up to the first sighting where it stopped."""
    periods = sorted(b.start - a.start for a, b in zip(frames, frames[1:])
                     if points[0][0] <= a.start <= points[-1][0])
    rest = 3 * periods[len(periods) // 2] if periods else 0.1
    way = points[:1]
    arrived = points[0][0]  # when it was first seen at its current height
    for t, y in points[1:]:
        if y < way[-1][1] or (y == way[-1][1] and t - arrived > rest):
            break
        if y != way[-1][1]:
            arrived = t
        way.append((t, y))
    while len(way) > 1 and way[-2][1] == way[-1][1]:
        way.pop()
    return way


def ball_flight(s: Session) -> Points:
    """Serve, step aside, and follow the ball over the middle of the court."""
    steps.serve(s)
    s.move_relative(-PUSH, PUSH)  # bottom left, out of the ball's way

    body = light_box(s.picture("ball.bmp"))

    def locate(picture: Image.Image) -> Optional[int]:
        # Only the ball is light in this band: the court is green, its line black.
        seen = light_box(picture)
        # Cut by the band's edge, or torn between two presents: not a place.
        if seen is None or seen[0] == 0 or seen[2] - seen[0] != body[2] - body[0]:
            return None
        return BALL_BAND.x + seen[0] - body[0]

    points = follow(s, BALL_BAND, locate, lambda p: bool(p) and p[-1][1] > BALL_LAST_X,
                    FLIGHT_TIMEOUT_S)
    return [(t, x) for t, x in points if BALL_FIRST_X <= x <= BALL_LAST_X]


def pace(s: Session) -> None:
    """The computer's creature and the served ball move 9 and 6 px per frame of
    a 30 ms wait plus drawing, as seen in real time."""
    delay_log = s.artifacts / "delays.txt"
    s.start_game(extra_env=delay_probe.preload_env(probe(s), delay_log))
    win = s.find_game_window()
    s.wait_until_matches(s.window_rect(), s.picture("Start.bmp"), "title picture")
    s.move_in_window(300, 200)
    s.click(1)
    descent = creature_descent(s)
    flight = ball_flight(s)
    frames = read_frames(delay_log)
    expect_pace("the computer's creature", way_down(descent, frames), frames, CREATURE_STEP_PX)
    expect_pace("the served ball", flight, frames, BALL_STEP_PX)
    s.close(win)
    s.expect_exit(0)


CASES = {"pace": pace}

if __name__ == "__main__":
    harness.main(CASES)
