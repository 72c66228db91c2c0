"""A whole match watched from outside: the scoreboard read off the screen,
the match followed to its end, and the pictures a match is expected to show,
for every test layer that plays one (the desktop's tests/e2e/test_match.py,
the page's tests/web/).

Expected pictures are built from the game's own sprite sheet, stretched as the
game stretches each piece (where a pixel centre falls on a boundary between two
sheet pixels, either is accepted: renderers round such centres differently).
Magenta in the sheet is transparent, so only its other pixels are compared;
pixels the tests cannot know (the computer's paddle column, the ball in
flight) are left out.  A session here is anything with the Session's grabs,
waits and pictures (vomba_desktop.session.Session, or the page's).
"""

from __future__ import annotations

import time
from dataclasses import dataclass
from typing import Optional

from PIL import Image, ImageChops

from vomba_desktop import CaseFailed, log, pictures, steps, values
from vomba_desktop.pictures import Comparison
from vomba_desktop.screen import Rect
from vomba_desktop.session import Session
from vomba_desktop.values import MAGENTA, PARKED_PADDLE

MATCH_TIMEOUT_S = 240.0   # guard against a match that never ends
STALL_TIMEOUT_S = 60.0    # guard against play that stops scoring altogether
SCAN_INTERVAL_S = 0.2

# The scoreboard's places on the window.
SCREEN = values.SCREEN
PLAYER_UNITS = SCREEN["player_units"]
PLAYER_TENS = SCREEN["player_tens"]
COMPUTER_TENS = SCREEN["computer_units"]   # the computer's single digit stands here too
COMPUTER_UNITS = SCREEN["computer_zero_of_ten"]
COMPUTER_DIGIT = COMPUTER_TENS
TOP_ROWS = Rect(0, 0, 600, 120)       # the scores and the banner
BUTTON_ROWS = Rect(0, 310, 600, 80)
COMPUTER_COLUMN = values.COMPUTER_COLUMN

# Button clicks (window coordinates).
WEITER_CLICK = (5, 350)   # the left edge of the drawn button
ENDE_CLICK = (300, 350)   # where both areas meet: quitting is tested first


# ----- expected pictures -----------------------------------------------------

# Where a destination pixel's centre falls within this much of a boundary
# between two sheet pixels, renderers round either way: both count.
SAMPLE_SLACK = 0.05


def _sources(src_len: int, dst_len: int) -> tuple[list[int], list[int]]:
    """For each destination pixel, the sheet pixels a stretch may sample."""
    low, high = [], []
    for i in range(dst_len):
        centre = (i + 0.5) * src_len / dst_len
        low.append(max(0, min(src_len - 1, int(centre - SAMPLE_SLACK))))
        high.append(max(0, min(src_len - 1, int(centre + SAMPLE_SLACK))))
    return low, high


def stretch(source: Image.Image, size: tuple[int, int]) -> list[Image.Image]:
    """`source` stretched to `size` by nearest pixel: every rounding a renderer may take."""
    columns = _sources(source.width, size[0])
    rows = _sources(source.height, size[1])
    pixels = source.load()
    candidates = []
    for xs in columns:
        for ys in rows:
            out = Image.new("RGB", size)
            out.putdata([pixels[xs[x], ys[y]] for y in range(size[1]) for x in range(size[0])])
            candidates.append(out)
    return candidates


def top_left(place: Rect) -> tuple[int, int]:
    return (place.x, place.y)


class Sheet:
    """The sprite sheet's pieces, stretched to the size of their places on the window."""

    def __init__(self, s: Session):
        self.image = s.picture("scoreboard..bmp")
        self._digits = [self.piece(cell, PLAYER_UNITS) for cell in values.SHEET["digits"]]

    def piece(self, src: Rect, place: Rect) -> list[Image.Image]:
        # A source reaching past the sheet is clipped to it and the clipped
        # part stretched over the whole destination.
        box = (src.x, src.y, min(src.x + src.w, self.image.width),
               min(src.y + src.h, self.image.height))
        return stretch(self.image.crop(box), (place.w, place.h))

    def digit(self, d: int) -> list[Image.Image]:
        return self._digits[d]

    def you_win(self) -> list[Image.Image]:
        return self.piece(values.SHEET["you_win"], SCREEN["player_banner"])

    def you(self) -> list[Image.Image]:
        return self.piece(values.SHEET["you"], SCREEN["computer_you"])

    def lose(self) -> list[Image.Image]:
        return self.piece(values.SHEET["lose"], SCREEN["computer_lose"])

    def weiter(self) -> list[Image.Image]:
        return self.piece(values.SHEET["weiter"], SCREEN["weiter_button"])

    def ende(self) -> list[Image.Image]:
        return self.piece(values.SHEET["ende"], SCREEN["ende_button"])


CANDIDATES = 4  # two roundings across, two down


class Expected:
    """What the window should show: a few candidate pictures (one per way of
    rounding a stretch) and a mask of the pixels that are known at all."""

    def __init__(self, background: Image.Image | list[Image.Image]):
        if isinstance(background, Image.Image):
            background = [background] * CANDIDATES
        self.images = [b.convert("RGB").copy() for b in background]
        self.known = Image.new("L", self.images[0].size, 255)

    def draw(self, sprite: Image.Image | list[Image.Image], at: tuple[int, int]) -> None:
        """Copy `sprite` to `at` with magenta transparent, as the game draws."""
        if isinstance(sprite, Image.Image):
            sprite = [sprite] * CANDIDATES
        everywhere_opaque = Image.new("L", sprite[0].size, 255)
        for image, candidate in zip(self.images, sprite):
            candidate = candidate.convert("RGB")
            opaque = pictures.opaque_mask(candidate, MAGENTA)
            image.paste(candidate, at, opaque)
            everywhere_opaque = ImageChops.darker(everywhere_opaque, opaque)
        self.known.paste(255, at, everywhere_opaque)

    def unknown(self, rect: Rect) -> None:
        self.known.paste(0, rect.box())

    def crop(self, rect: Rect) -> "Expected":
        part = Expected([image.crop(rect.box()) for image in self.images])
        part.known = self.known.crop(rect.box())
        return part


def compare_known(actual: Image.Image, expected: Expected, name: str,
                  max_fraction: float) -> Comparison:
    """Compare the known pixels of `expected`; a pixel differs when it differs
    from every candidate.  The fraction is of the known pixels."""
    mask = expected.known
    for image in expected.images:
        mask = ImageChops.darker(mask, pictures.compare_images(actual, image, name).diff_mask)
    differing = mask.histogram()[255]
    total = expected.known.histogram()[255]
    return Comparison(name, differing, total, max_fraction, mask)


def expect_known(s: Session, actual: Image.Image, expected: Expected, name: str,
                 max_fraction: float = 0.002) -> None:
    result = compare_known(actual, expected, name, max_fraction)
    log(result.describe())
    if not result.ok:
        s.save_comparison(result, actual, expected.images[0])
        raise CaseFailed(result.describe())


# ----- reading the scoreboard --------------------------------------------------

def read_digit(sheet: Sheet, cell: Image.Image) -> Optional[int]:
    """The digit a score cell shows, or None (the ball may cover it)."""
    for d in range(10):
        if compare_known(cell, Expected(sheet.digit(d)), f"digit {d}", 0.01).ok:
            return d
    return None


def read_scores(sheet: Sheet, window: Image.Image) -> tuple[Optional[int], Optional[int]]:
    """The player's and the computer's single digits."""
    return (read_digit(sheet, window.crop(PLAYER_UNITS.box())),
            read_digit(sheet, window.crop(COMPUTER_DIGIT.box())))


@dataclass
class MatchEnd:
    winner: str   # "player" or "computer"
    loser_score: Optional[int]
    picture: Image.Image


def end_display(s: Session, sheet: Sheet, winner: str, loser_score: int) -> Expected:
    """The window at the end of a match, as far as it is known.

    The court under everything, the ball at rest at its serve place with the
    parked paddle over it, then the scoreboard pieces and the two buttons.
    The computer's paddle may stand anywhere in its column.
    """
    picture = Expected(s.picture("pong.bmp"))
    picture.draw(s.picture("ball.bmp"), (values.BALL_SERVE_AFTER_POINT.x,
                                         values.BALL_SERVE_AFTER_POINT.y))
    picture.draw(s.picture("vombaGruen.bmp"), PARKED_PADDLE)
    picture.unknown(COMPUTER_COLUMN)
    if winner == "player":
        picture.draw(sheet.digit(loser_score), top_left(COMPUTER_DIGIT))
        picture.draw(sheet.digit(1), top_left(PLAYER_TENS))
        picture.draw(sheet.digit(0), top_left(PLAYER_UNITS))
        picture.draw(sheet.you_win(), top_left(SCREEN["player_banner"]))
    else:
        picture.draw(sheet.digit(1), top_left(COMPUTER_TENS))
        picture.draw(sheet.digit(0), top_left(COMPUTER_UNITS))
        picture.draw(sheet.you(), top_left(SCREEN["computer_you"]))
        picture.draw(sheet.lose(), top_left(SCREEN["computer_lose"]))
        picture.draw(sheet.digit(loser_score), top_left(PLAYER_UNITS))
    picture.draw(sheet.weiter(), top_left(SCREEN["weiter_button"]))
    picture.draw(sheet.ende(), top_left(SCREEN["ende_button"]))
    return picture


def fresh_match(s: Session, sheet: Sheet) -> Expected:
    """The window as a new match begins: the court and 0:0, the computer's
    column unknown (the ball and both paddles are for the caller to add)."""
    fresh = Expected(s.picture("pong.bmp"))
    fresh.draw(sheet.digit(0), top_left(PLAYER_UNITS))
    fresh.draw(sheet.digit(0), top_left(COMPUTER_DIGIT))
    fresh.unknown(COMPUTER_COLUMN)
    return fresh


def buttons_picture(sheet: Sheet) -> Expected:
    """Only the two buttons' letters and margins are known."""
    window = (values.WINDOW_WIDTH, values.WINDOW_HEIGHT)
    buttons = Expected(Image.new("RGB", window))
    buttons.known.paste(0, (0, 0, *window))
    buttons.draw(sheet.weiter(), top_left(SCREEN["weiter_button"]))
    buttons.draw(sheet.ende(), top_left(SCREEN["ende_button"]))
    return buttons


# ----- playing -------------------------------------------------------------------

def play_to_the_end(s: Session, sheet: Sheet) -> MatchEnd:
    """Watch the match until the end-of-match display; follow the scores on the way."""
    buttons = buttons_picture(sheet)
    started = time.monotonic()
    last_change = started
    scores = (0, 0)
    while True:
        window = s.grab_window()
        if compare_known(window, buttons, "buttons", 0.05).ok:
            break
        player, computer = read_scores(sheet, window)
        if player is not None and computer is not None and (player, computer) != scores:
            if player < scores[0] or computer < scores[1]:
                window.save(s.artifacts / "scores.png")
                raise CaseFailed(f"the scores went back from {scores[0]}:{scores[1]} to "
                                 f"{player}:{computer}")
            scores = (player, computer)
            last_change = time.monotonic()
            log(f"score {player}:{computer} (player:computer)")
        now = time.monotonic()
        if not s.game_running():
            raise CaseFailed(f"game ended ({s.game.returncode}) during the match; "
                             f"stderr: {s.stderr()!r}")
        if now - last_change > STALL_TIMEOUT_S:
            s.save_screen("stalled")
            raise CaseFailed(f"no point for {STALL_TIMEOUT_S:.0f} s at {scores[0]}:{scores[1]}")
        if now - started > MATCH_TIMEOUT_S:
            s.save_screen("match-too-long")
            raise CaseFailed(f"no end of match within {MATCH_TIMEOUT_S:.0f} s")
        time.sleep(SCAN_INTERVAL_S)
    log(f"end-of-match buttons on screen after {time.monotonic() - started:.1f} s of play")

    # The display is drawn again every frame: wait until the picture is still.
    picture = s.wait_until_still(s.window_rect(), "end of match", interval=0.3, timeout=10.0)
    picture.save(s.artifacts / "end-of-match.png")
    player, computer = read_scores(sheet, picture)
    if read_digit(sheet, picture.crop(PLAYER_TENS.box())) == 1 and player == 0:
        end = MatchEnd("player", computer, picture)
    elif computer == 1 and read_digit(sheet, picture.crop(COMPUTER_UNITS.box())) == 0:
        end = MatchEnd("computer", player, picture)
    else:
        raise CaseFailed("the end-of-match display shows neither side's 10; "
                         f"see {s.artifacts / 'end-of-match.png'}")
    if end.loser_score is None:
        raise CaseFailed(f"the {end.winner} won, but the other side's score cell shows no digit")
    score = (10, end.loser_score) if end.winner == "player" else (end.loser_score, 10)
    if score[0] < scores[0] or score[1] < scores[1]:
        raise CaseFailed(f"final score {score[0]}:{score[1]} is below the last seen "
                         f"{scores[0]}:{scores[1]}")
    log(f"match over: the {end.winner} won, {score[0]}:{score[1]} (player:computer)")
    expect_known(s, picture, end_display(s, sheet, end.winner, end.loser_score),
                 f"end of match, {end.winner} won")
    return end


def start_and_play_match(s: Session, sheet: Sheet) -> tuple[object, MatchEnd]:
    """From the title picture through a whole match; returns the window and the end."""
    win = steps.leave_start_screen(s)
    steps.require_frame_loop(s)
    steps.serve(s)
    steps.park(s)
    return win, play_to_the_end(s, sheet)


def pointer_free(s: Session) -> bool:
    """Whether the pointer can leave the window (relative mouse mode is off)."""
    s.move(50, 50)
    x, y = s.pointer()
    return (x, y) == (50, 50)


def grab_rect(s: Session, rect: Rect) -> Image.Image:
    """Grab a rectangle given in window coordinates."""
    return s.grab(rect.moved(values.WINDOW_X, values.WINDOW_Y))


def click_at(s: Session, at: tuple[int, int]) -> None:
    s.move_in_window(*at)
    s.click(1)
    log(f"clicked at {at}")


def expect_end_display_stays(s: Session, end: MatchEnd, what: str) -> None:
    """The game still runs and shows the same end-of-match picture."""
    s.wait_until_still(s.window_rect(), what, interval=0.5, timeout=10.0)
    if not s.game_running():
        raise CaseFailed(f"{what}: the game ended ({s.game.returncode})")
    s.expect_matches(s.window_rect(), end.picture, what, tolerance=0, max_fraction=0)
