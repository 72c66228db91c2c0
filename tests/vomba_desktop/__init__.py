"""The desktop-test tools of VombaPong: what the end-to-end tests
(tests/e2e/), the bench (bench/), the preview (tools/preview/) and the
fresh-machine check (scripts/) need to look at the built game from outside,
kept in one place so that each of them imports it instead of carrying a copy.

Import it the ordinary way, with PYTHONPATH naming its parent folder, tests/
(CTest, the Makefile and the scripts set it):

    PYTHONPATH=tests /usr/bin/python3 tests/e2e/test_play.py --game-dir build/game

Each module has one job, and those of the first group have no side effect on
import and no knowledge of this game beyond what they are given, so that
other test layers (the game under Wine, say) can use them as they are:

- xserver: an Xvfb of our own on a display number it picks itself;
- windows: finding a window by its title, its place, the close request a
  window manager sends (WM_DELETE_WINDOW);
- screen: rectangles and grabbing one of the screen;
- pictures: comparing a grab with an expected picture (counting differing
  pixels), and drawing a keyed sprite over a picture;
- mouse: moving and clicking with xdotool;
- facts: reading the game's own description of itself, game_facts.json.

The second group knows the game:

- values: the game's shared test values, read from the facts where the game
  states them, and written once here where they are the tests' own;
- session: one X server with the game running in it, and the waiting
  comparisons of screen grabs;
- steps: the steps of a game that several folders take (past the title, the
  serve, the parked paddle);
- delay_probe: where the frame-wait probe (delay_probe.cpp, built by CMake
  beside this package's build folder) is, and reading what it logs;
- watch_play: a command that runs the game on an X server of its own, waits
  for its title picture and closes it, as scripts/fresh-machine-check.sh uses.

Needs Debian's /usr/bin/python3 with python3-xlib and python3-pil, Xvfb and
xdotool.
"""

import sys
import time
from pathlib import Path


class CaseFailed(AssertionError):
    """A check of what the game shows or does did not hold."""


def log(message: str) -> None:
    """One line of progress, tagged with the program and the time of day."""
    print(f"[{Path(sys.argv[0]).stem} {time.strftime('%H:%M:%S')}] {message}", flush=True)
