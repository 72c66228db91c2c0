"""The player's creature watched while a real mouse sweeps it left and right:
the share of screen samples in which it is missing (`make bench`'s last
scenario of each configuration, and all of `run_bench.py --creature-only`).
"""

from __future__ import annotations

import subprocess
import time
from dataclasses import dataclass, field

from scenarios import Config
from vomba_desktop import log
from vomba_desktop.pictures import compare_images
from vomba_desktop.screen import Rect
from vomba_desktop.session import Session
from vomba_desktop.steps import click_past_title, paddle_picture, require_frame_loop
from vomba_desktop.values import PADDLE_H, PADDLE_W, PUSH

# The creature watched while it moves: pushed against the bottom-left clamp,
# then swept by the mouse from the left clamp past the right one and back.
CREATURE_SECONDS = 12.0
CREATURE_SAMPLES_PER_S = 150.0
CREATURE_BAND = Rect(0, 310, 300, 90)  # window coordinates: every place it can take
SWEEP_STEP_PX = 8
SWEEP_STEPS = 35  # 280 px: the creature's whole range of 240 px and a little more
SWEEP_STEP_S = 0.01
# A sample shows the creature missing when fewer than this share of the pixels
# by which it differs from the court are seen anywhere in its band, and whole
# from the second share on; between the two it is cut.
MISSING_BELOW = 0.1
WHOLE_FROM = 0.9


@dataclass
class CreatureResult:
    samples: int = 0
    missing: int = 0
    cut: int = 0
    seconds: float = 0.0
    moves: int = 0
    places: set[int] = field(default_factory=set)  # left edges the creature was seen at

    @property
    def missing_share(self) -> float:
        return self.missing / self.samples if self.samples else float("nan")


def sweep_command(seconds: float) -> tuple[list[str], int]:
    """One xdotool process that moves the mouse steadily left and right, relative
    moves only (what relative mouse mode hears), for about `seconds`."""
    args, moves = ["xdotool"], 0
    while moves * SWEEP_STEP_S < seconds:
        for step in (SWEEP_STEP_PX, -SWEEP_STEP_PX):
            for _ in range(SWEEP_STEPS):
                args += ["mousemove_relative", "--", str(step), "0", "sleep", str(SWEEP_STEP_S)]
                moves += 1
    return args, moves


def creature_while_moving(s: Session, config: Config, seconds: float) -> CreatureResult:
    """Sample the creature's band of the window while a real mouse sweeps it.

    The game is played as in the other parts, but the ball is never served: it
    rests at its serve place, clear of the band, so the band holds nothing but
    the court and the creature.
    """
    s.start_game(extra_env=config.env, audio_driver="dummy")
    win = s.find_game_window()
    s.wait_until_matches(s.window_rect(), s.picture("Start.bmp"), "title picture")
    click_past_title(s)
    require_frame_loop(s)
    s.move_relative(-PUSH, PUSH)  # bottom-left clamp: the creature's top-left at (0, 310)
    corner = (CREATURE_BAND.x, CREATURE_BAND.y)
    creature = paddle_picture(s, corner)
    paddle = (PADDLE_W, PADDLE_H)
    s.wait_until_matches(s.in_window(*corner, *paddle), creature, "creature at the clamp")
    court = s.picture("pong.bmp").crop(CREATURE_BAND.box())
    distinct = compare_images(creature, court.crop((0, 0, *paddle))).differing
    band = s.in_window(CREATURE_BAND.x, CREATURE_BAND.y, CREATURE_BAND.w, CREATURE_BAND.h)

    command, moves = sweep_command(seconds)
    result = CreatureResult(moves=moves)
    period = 1.0 / CREATURE_SAMPLES_PER_S
    mover = subprocess.Popen(command, env=s.env, stdout=subprocess.DEVNULL)
    started = next_sample = time.monotonic()
    try:
        while mover.poll() is None:
            seen_at = compare_images(s.grab(band), court)
            seen = seen_at.differing
            result.samples += 1
            box = seen_at.diff_mask.getbbox()
            if box is not None and seen >= WHOLE_FROM * distinct:
                result.places.add(box[0])
            if seen < MISSING_BELOW * distinct:
                result.missing += 1
            elif seen < WHOLE_FROM * distinct:
                result.cut += 1
            next_sample += period
            now = time.monotonic()
            if next_sample > now:
                time.sleep(next_sample - now)
            else:
                next_sample = now  # fell behind: sample on, do not burst
    finally:
        if mover.poll() is None:
            mover.kill()
        mover.wait()
    result.seconds = time.monotonic() - started
    log(f"creature while moving ({config.title}): missing in {result.missing} of "
        f"{result.samples} samples ({result.missing_share:.2%}), cut in {result.cut}, "
        f"{result.seconds:.1f} s, {moves} mouse moves, seen at {len(result.places)} places")
    s.close(win)
    s.expect_exit(0)
    return result
