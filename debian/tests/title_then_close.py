#!/usr/bin/python3
"""Starts the game, waits until its window shows the title picture, asks the
window to close as a window manager would, and passes on the game's exit code.

Used by the show-window-and-close test, on the display that xvfb-run gives
it: the installed game must open its window of the right size with the right
title, draw the installed title picture into it, and end with 0 on a close
request. Exits 0 only then; otherwise says why and exits 1.
"""

from __future__ import annotations

import argparse
import subprocess
import sys

from PIL import Image
from Xlib import display

# The project's desktop-test tools, from the source tree the test runs in
# (show-window-and-close puts tests/ on PYTHONPATH).
from vomba_desktop import CaseFailed
from vomba_desktop.watch_play import wait_for_title
from vomba_desktop.windows import request_close

WINDOW_TITLE = "VombaPong DO NOT DISTRIBUTE"
WINDOW_SIZE = (600, 400)
WINDOW_TIMEOUT_S = 60.0  # guards against a game that never shows its window
EXIT_TIMEOUT_S = 30.0  # and one that does not end when asked to


def main() -> None:
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--title-picture", required=True, help="the installed Start.bmp")
    parser.add_argument("command", nargs="+", help="how to start the game")
    args = parser.parse_args()
    with Image.open(args.title_picture) as picture:
        if picture.size != WINDOW_SIZE:
            sys.exit(f"{args.title_picture} is {picture.size}, not the window's {WINDOW_SIZE}")

    game = subprocess.Popen(args.command)
    try:
        connection = display.Display()
        window = wait_for_title(connection, game, lambda: WINDOW_TITLE, args.title_picture,
                                WINDOW_TIMEOUT_S)
        print(f"the title picture shows in window 0x{window.id:x}; asking it to close",
              flush=True)
        request_close(connection, window)
        code = game.wait(timeout=EXIT_TIMEOUT_S)
    except CaseFailed as failure:
        sys.exit(f"no {WINDOW_SIZE[0]}x{WINDOW_SIZE[1]} window titled {WINDOW_TITLE!r} "
                 f"showed the title picture: {failure}")
    except subprocess.TimeoutExpired:
        sys.exit(f"the game did not end within {EXIT_TIMEOUT_S:.0f} s of the close request")
    finally:
        if game.poll() is None:
            game.kill()
            game.wait()
    print(f"the game ended with exit code {code}", flush=True)
    sys.exit(0 if code == 0 else 1)


if __name__ == "__main__":
    main()
