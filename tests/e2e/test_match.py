"""A whole match with a real mouse, from the first serve to the end-of-match
display, and the two ways out of it: WEITER (a fresh match) and ENDE (quit).

The player's paddle is parked (vomba_desktop.steps.park) where the serve
place after a point, (100, 182), lies inside its hit window: every later
serve then happens by itself, and a ball that comes back at the right height
is returned.  The computer wins most of these matches, but the cases accept
either winner and check the display of whichever side reached 10.  The match
is watched, and its pictures built, by vomba_desktop.match.
"""

from __future__ import annotations

import harness
from vomba_desktop import CaseFailed, log
from vomba_desktop.match import (BUTTON_ROWS, ENDE_CLICK, TOP_ROWS, WEITER_CLICK, Sheet,
                                 click_at, compare_known, expect_end_display_stays,
                                 fresh_match, grab_rect, pointer_free, start_and_play_match)
from vomba_desktop.session import Session
from vomba_desktop.values import BALL_SIZE, PARKED_PADDLE

# Clicks beside both buttons (window coordinates), which must do nothing.
OUTSIDE_CLICKS = ((4, 350), (300, 309), (300, 200))


# ----- cases ------------------------------------------------------------------------

def match_then_play_again(s: Session) -> None:
    """Play a match to 10; clicks beside the buttons do nothing; WEITER starts afresh at 0:0."""
    sheet = Sheet(s)
    win, end = start_and_play_match(s, sheet)
    if not pointer_free(s):
        raise CaseFailed("relative mouse mode is still on at the end of the match: "
                         "the pointer is held by the window")

    for at in OUTSIDE_CLICKS:
        click_at(s, at)
    expect_end_display_stays(s, end, "end of match after clicks beside the buttons")
    if not pointer_free(s):
        raise CaseFailed("a click beside the buttons switched relative mouse mode on")

    click_at(s, WEITER_CLICK)
    fresh = fresh_match(s, sheet)
    # The ball is served again at once from the parked paddle; everything it
    # cannot reach in its first frames is checked while it flies.
    top = fresh.crop(TOP_ROWS)
    bottom = fresh.crop(BUTTON_ROWS)
    s.wait_until(lambda: (compare_known(grab_rect(s, TOP_ROWS), top,
                                        "scores and banner rows", 0.002).ok
                          and compare_known(grab_rect(s, BUTTON_ROWS), bottom,
                                            "button rows", 0.002).ok),
                 "a fresh court at 0:0 after WEITER", timeout=15.0)
    log("fresh court: 0 and 0, no banner, no buttons")
    if pointer_free(s):
        raise CaseFailed("relative mouse mode is not back on in the new match: "
                         "the pointer leaves the window")

    # Pause and look at the whole window: only the ball may differ from the
    # fresh court with its scores and the player's paddle.
    s.click(1)
    still = s.wait_until_still(s.window_rect(), "paused new match", interval=0.3, timeout=10.0)
    fresh.draw(s.picture("vombaGruen.bmp"), PARKED_PADDLE)
    result = compare_known(still, fresh, "new match", 1.0)
    box = result.diff_mask.getbbox()
    log(f"new match, paused: pixels beside the expected picture in {box}")
    if box is not None and (box[2] - box[0] > BALL_SIZE or box[3] - box[1] > BALL_SIZE):
        s.save_comparison(result, still, fresh.images[0])
        raise CaseFailed(f"the new match shows more than the court, 0:0, the paddle and the "
                         f"ball: differences spread over {box}")
    if box is None:
        log("the ball is hidden behind the paddle or in the computer's column")

    s.close(win)
    s.expect_exit(0)


def match_then_quit(s: Session) -> None:
    """Play a match to 10, then ENDE ends the game with exit code 0."""
    sheet = Sheet(s)
    start_and_play_match(s, sheet)
    click_at(s, ENDE_CLICK)
    s.expect_exit(0)


CASES = {
    "match_then_play_again": match_then_play_again,
    "match_then_quit": match_then_quit,
}

if __name__ == "__main__":
    harness.main(CASES)
