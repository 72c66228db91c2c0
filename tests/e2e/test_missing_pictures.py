"""A game directory with a picture missing, as a careless install leaves it."""

from PIL import Image

import harness
from vomba_desktop import CaseFailed, log, pictures, steps, values
from vomba_desktop.screen import Rect
from vomba_desktop.session import COURT_TIMEOUT_S, Session
from vomba_desktop.values import PUSH


def missing_ball(s: Session) -> None:
    """Without ball.bmp the game says so in a message box and ends with 1."""
    harness.stop_at_message_box(s, s.game_copy_without("ball.bmp"))
    s.expect_exit(1)
    stderr = s.stderr()
    log(f"stderr: {stderr!r}")
    if "ball.bmp" not in stderr:
        raise CaseFailed(f"stderr does not name ball.bmp: {stderr!r}")


def missing_court(s: Session) -> None:
    """Without pong.bmp the game says so once on stderr and goes on, on a black court
    that the paddle leaves clean behind it."""
    win = steps.open_title(s, s.game_copy_without("pong.bmp"))
    s.move_in_window(300, 200)
    s.click(1)
    s.wait_until(lambda: "pong.bmp" in s.stderr(), "stderr names pong.bmp",
                 timeout=COURT_TIMEOUT_S)
    black = Image.new("RGB", (values.WINDOW_WIDTH, values.WINDOW_HEIGHT))
    s.wait_until_matches(s.window_rect(), black, "black court in place of the title",
                         ignore=values.FRAME_LOOP_DRAWS)

    def paddle_on_black(paddle: Rect, what: str) -> None:
        s.wait_until_matches(s.in_window(paddle.x, paddle.y, paddle.w, paddle.h),
                             pictures.compose_sprite(black.crop(paddle.box()),
                                                     s.picture("vombaGruen.bmp"), (0, 0),
                                                     values.MAGENTA),
                             what, timeout=10.0, max_fraction=0.01)

    s.move_relative(-PUSH, -PUSH)  # the paddle appears at the top-left clamp, (0, 0)
    paddle_on_black(Rect(0, 0, values.PADDLE_W, values.PADDLE_H), "paddle at the clamp")
    s.move_relative(70, 55)  # and moves to (70, 55), erasing where it was
    paddle = Rect(70, 55, values.PADDLE_W, values.PADDLE_H)
    paddle_on_black(paddle, "paddle on the black court")
    s.expect_matches(s.window_rect(), black, "black court behind the paddle",
                     ignore=(*values.FRAME_LOOP_DRAWS, paddle))
    # The game goes on: no message box, the window stays and answers a close.
    boxes = [t for t in map(s.window_title, s.windows()) if harness.looks_like_our_message_box(t)]
    if boxes:
        s.save_screen("unexpected-message-box")
        raise CaseFailed(f"a message box appeared for a missing court: {boxes}")
    if not s.game_running():
        raise CaseFailed(f"the game ended ({s.game.returncode}) instead of going on")
    s.expect_geometry(win)
    s.close(win)
    s.expect_exit(0)
    lines = [line for line in s.stderr().splitlines() if line.strip()]
    naming = [line for line in lines if "pong.bmp" in line]
    log(f"stderr lines: {lines!r}")
    if len(naming) != 1:
        raise CaseFailed(f"expected one stderr line naming pong.bmp, got {naming!r}")
    others = [line for line in lines if ".bmp" in line and "pong.bmp" not in line]
    if others:
        raise CaseFailed(f"stderr names other pictures as well: {others!r}")


BOX_FAILED = "VombaPong: couldn't show this message in a box: "


def missing_ball_no_box(s: Session) -> None:
    """An X server without core fonts cannot open SDL's message box: the game
    says so on stderr after its message, with SDL's reason, and ends with 1."""
    steps.open_title(s, s.game_copy_without("ball.bmp"))
    s.move_in_window(300, 200)
    s.click(1)
    s.expect_exit(1)
    lines = s.problem_lines()
    log(f"stderr lines: {lines!r}")
    if (len(lines) != 2 or "ball.bmp" not in lines[0] or not lines[1].startswith(BOX_FAILED)
            or not lines[1][len(BOX_FAILED):].strip()):
        raise CaseFailed(f"expected the message naming ball.bmp, then that the box could not "
                         f"be shown and SDL's reason, got {lines!r}")


# Only the server's built-in "fixed" font, which SDL's box does not take.
missing_ball_no_box.xvfb_args = ("-fp", "built-ins")

CASES = {
    "missing_ball": missing_ball,
    "missing_ball_no_box": missing_ball_no_box,
    "missing_court": missing_court,
}

if __name__ == "__main__":
    harness.main(CASES)
