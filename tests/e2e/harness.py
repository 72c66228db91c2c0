"""End-to-end runner: play the built VombaPong as a person would.

Every case starts its own X server (Xvfb, no window manager, on a display
number the server picks itself, so cases can run side by side), starts the
game from its directory, and then acts on it only from outside: it finds the
window by its title, clicks and moves a real X pointer with xdotool, grabs
the screen, and asks the window to close with the WM_DELETE_WINDOW message a
window manager would send. Nothing in here links against the game. The tools
for all that are the package vomba_desktop (tests/vomba_desktop), which the
bench and the preview use too; this file holds what only the cases need.

A case is a function that takes a Session and raises on failure (a case
that needs an unusual X server names more Xvfb options in its attribute
`xvfb_args`):

    import harness
    from vomba_desktop.session import Session

    def title_screen(s: Session) -> None:
        s.start_game()
        win = s.find_game_window()
        s.expect_geometry(win)
        s.wait_until_matches(s.window_rect(), s.picture("Start.bmp"), "title")
        s.close(win)
        s.expect_exit(0)

    if __name__ == "__main__":
        harness.main({"title_screen": title_screen})

`harness.main` reads the command line (`--game-dir` is the directory that
holds the executable `vombapong` and its pictures and sounds; `--renderer`
is "default", "software" or "opengl"; `--case` chooses one case of the file;
`--artifacts` is where screenshots and diffs of failures go) and runs the
case inside a Session, which always tears down the game and the X server.
Exit codes: 0 passed, 1 failed. A case never skips: whatever keeps it from
looking at the game (no window, a picture that never comes, a game that does
not play) fails it.

Run by hand with the package on the path, as CTest runs it:

    PYTHONPATH=tests /usr/bin/python3 tests/e2e/test_play.py --game-dir build/game
"""

from __future__ import annotations

import argparse
import shutil
import sys
import time
import traceback
from pathlib import Path
from typing import Callable

from vomba_desktop import CaseFailed, log, windows
from vomba_desktop.screen import Rect
from vomba_desktop.session import COURT_TIMEOUT_S, START_TIMEOUT_S, Session
from vomba_desktop.steps import open_title
from vomba_desktop.values import WINDOW_TITLE

Case = Callable[[Session], None]


def main(cases: dict[str, Case]) -> None:
    parser = argparse.ArgumentParser(description="VombaPong end-to-end cases")
    parser.add_argument("--game-dir", required=True, type=Path,
                        help="directory of the built vombapong and its pictures and sounds")
    parser.add_argument("--case", choices=sorted(cases), action="append",
                        help="case to run (repeatable); default: all of this file")
    parser.add_argument("--renderer", default="default", choices=["default", "software", "opengl"],
                        help="SDL render driver; default leaves SDL to choose")
    parser.add_argument("--audio", default="dummy", choices=["dummy", "disk"],
                        help="SDL audio driver for the game")
    parser.add_argument("--artifacts", type=Path, default=None,
                        help="where screenshots of failures go (default: ./e2e-artifacts)")
    args = parser.parse_args()

    selected = args.case or sorted(cases)
    artifacts_root = args.artifacts or Path.cwd() / "e2e-artifacts"
    outcome = 0
    for name in selected:
        artifacts = artifacts_root / f"{name}-{args.renderer}"
        if artifacts.exists():
            shutil.rmtree(artifacts)
        started = time.monotonic()
        log(f"case {name} ({args.renderer} renderer): start")
        try:
            with Session(args.game_dir, artifacts, args.renderer, args.audio,
                         getattr(cases[name], "xvfb_args", ())) as session:
                cases[name](session)
        except CaseFailed as failure:
            log(f"case {name}: FAILED after {time.monotonic() - started:.1f} s: {failure}")
            log(f"artifacts in {artifacts}")
            outcome = 1
            continue
        except Exception:
            traceback.print_exc()
            log(f"case {name}: ERROR after {time.monotonic() - started:.1f} s; artifacts in {artifacts}")
            outcome = 1
            continue
        log(f"case {name}: passed in {time.monotonic() - started:.1f} s")
    sys.exit(outcome)


# ----- the game's message box -------------------------------------------------

def looks_like_our_message_box(title: str) -> bool:
    """The title of the game's error box, not of the game window."""
    lowered = title.lower()
    return title != WINDOW_TITLE and ("vombapong" in lowered or "error" in lowered)


def dismiss_message_box(s: Session, matches: Callable[[str], bool],
                        timeout: float = START_TIMEOUT_S) -> tuple[str, Rect]:
    """Find a message box by its title and press Return in it, as a user would.

    Returns the box's title and rectangle. Falls back to closing it with
    WM_DELETE_WINDOW if Return does not make it go away.
    """
    box = s.find_window(matches, "message box", timeout)
    title = s.window_title(box)
    rect = s.geometry(box)
    s.save_screen("message-box")
    log(f"message box {title!r} at {rect}; pressing Return")
    s.xdotool("key", "--window", str(box.id), "Return")
    if not windows.wait_gone(box, 5.0):
        log("Return did not close the message box; sending WM_DELETE_WINDOW")
        s.close(box)
        if not windows.wait_gone(box, 5.0):
            raise CaseFailed("message box could not be dismissed")
    return title, rect


def stop_at_message_box(s: Session, game_dir: Path) -> None:
    """Start the game from `game_dir`, click past the title, and dismiss the
    error box that stops it as a user would; the game's stderr is then read."""
    open_title(s, game_dir)
    s.move_in_window(300, 200)
    s.click(1)
    title, rect = dismiss_message_box(s, looks_like_our_message_box, timeout=COURT_TIMEOUT_S)
    log(f"dismissed message box {title!r} at {rect}")
