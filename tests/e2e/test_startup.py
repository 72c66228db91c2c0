"""Start-up and shut-down as a player sees them: the title picture, the
click that starts the game, the court, and closing the window."""

import time
from pathlib import Path

import harness
from vomba_desktop import CaseFailed, log, steps, values
from vomba_desktop.session import START_TIMEOUT_S, Session


def title_and_court(s: Session) -> None:
    """Title picture, a real click, the court, a real close, exit code 0."""
    s.start_game()
    win = s.find_game_window()
    s.expect_geometry(win)
    s.wait_until_matches(s.window_rect(), s.picture("Start.bmp"), "title picture",
                         timeout=START_TIMEOUT_S)
    # Moving the mouse over the title picture does not start the game.
    s.move_in_window(100, 100)
    s.move_in_window(500, 300)
    s.move_in_window(300, 200)
    s.click(1)
    clicked = time.monotonic()
    # The title stays while the intro plays and the game waits.
    s.expect_matches(s.window_rect(), s.picture("Start.bmp"), "title during the intro")
    s.wait_until_matches(s.window_rect(), s.picture("pong.bmp"), "court",
                         ignore=values.FRAME_LOOP_DRAWS)
    log(f"court appeared {time.monotonic() - clicked:.1f} s after the click")
    s.expect_geometry(win)
    s.close(win)
    s.expect_exit(0)


def close_on_start_screen(s: Session) -> None:
    """Closing on the title picture still plays the intro, then exits with 0."""
    s.start_game(audio_driver="disk")
    win = s.find_game_window()
    s.wait_until_matches(s.window_rect(), s.picture("Start.bmp"), "title picture",
                         timeout=START_TIMEOUT_S)
    closed = time.monotonic()
    s.close(win)
    s.expect_exit(0)
    log(f"game ended {time.monotonic() - closed:.1f} s after the close request")
    audio = s.artifacts / "audio.raw"
    if not audio.exists():
        raise CaseFailed("the audio device was never opened: no disk audio output was written")
    samples = audio.read_bytes()
    if not any(samples):
        raise CaseFailed(f"the intro was not played: {len(samples)} bytes of silence written")
    log(f"{len(samples)} bytes of audio written, not all silent: the intro played")


def close_during_intro(s: Session) -> None:
    """A close request during the intro wait ends the game once it is over, with 0."""
    win = steps.open_title(s)
    s.move_in_window(300, 200)
    s.click(1)
    s.expect_matches(s.window_rect(), s.picture("Start.bmp"), "title during the intro")
    s.close(win)
    s.expect_exit(0)


def start_with_right_button(s: Session) -> None:
    """Any mouse button leaves the title picture; the right one included."""
    win = steps.leave_start_screen(s, button=3)
    s.close(win)
    s.expect_exit(0)


CASES = {
    "title_and_court": title_and_court,
    "close_on_start_screen": close_on_start_screen,
    "close_during_intro": close_during_intro,
    "start_with_right_button": start_with_right_button,
}

if __name__ == "__main__":
    harness.main(CASES)
