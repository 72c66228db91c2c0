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
import time

from PIL import Image, ImageChops
from Xlib import X, display, error, protocol

WINDOW_TITLE = "VombaPong DO NOT DISTRIBUTE"
WINDOW_SIZE = (600, 400)
WINDOW_TIMEOUT_S = 60.0  # guards against a game that never shows its window
EXIT_TIMEOUT_S = 30.0  # and one that does not end when asked to
# Renderers may round a channel a little; a wrong picture differs everywhere.
CHANNEL_TOLERANCE = 24
DIFFERING_SHARE = 0.001


def game_windows(screen_root) -> list:
    """The viewable windows that carry the game's title, at any depth."""
    found, stack = [], [screen_root]
    while stack:
        try:
            children = stack.pop().query_tree().children
        except error.XError:
            continue
        for window in children:
            try:
                if (window.get_wm_name() == WINDOW_TITLE
                        and window.get_attributes().map_state == X.IsViewable):
                    found.append(window)
            except error.XError:
                pass  # gone in the meantime
        stack.extend(children)
    return found


def shows_picture(screen_root, window, expected: Image.Image) -> bool:
    size = window.get_geometry()
    if (size.width, size.height) != expected.size:
        return False
    at = screen_root.translate_coords(window, 0, 0)
    raw = screen_root.get_image(at.x, at.y, size.width, size.height, X.ZPixmap, 0xFFFFFFFF)
    shown = Image.frombytes("RGB", expected.size, raw.data, "raw", "BGRX")
    red, green, blue = ImageChops.difference(shown, expected).split()
    largest = ImageChops.lighter(ImageChops.lighter(red, green), blue)
    differing = largest.point(lambda v: 255 if v > CHANNEL_TOLERANCE else 0).histogram()[255]
    return differing <= DIFFERING_SHARE * expected.size[0] * expected.size[1]


def wait_for_title(game: subprocess.Popen, expected: Image.Image):
    connection = display.Display()
    screen_root = connection.screen().root
    deadline = time.monotonic() + WINDOW_TIMEOUT_S
    while time.monotonic() < deadline:
        if game.poll() is not None:
            sys.exit(f"the game ended with {game.returncode} before it showed its title picture")
        windows = game_windows(screen_root)
        # Making an OpenGL renderer replaces SDL's first window: take one that stays.
        if windows and all(shows_picture(screen_root, w, expected) for w in windows):
            time.sleep(0.3)
            if [w.id for w in game_windows(screen_root)] == [w.id for w in windows]:
                return connection, windows[0]
        time.sleep(0.2)
    sys.exit(f"no {WINDOW_SIZE[0]}x{WINDOW_SIZE[1]} window titled {WINDOW_TITLE!r} showed "
             f"the title picture within {WINDOW_TIMEOUT_S:.0f} s")


def ask_to_close(connection, window) -> None:
    request = protocol.event.ClientMessage(
        window=window, client_type=connection.intern_atom("WM_PROTOCOLS"),
        data=(32, [connection.intern_atom("WM_DELETE_WINDOW"), X.CurrentTime, 0, 0, 0]))
    window.send_event(request, event_mask=X.NoEventMask)
    connection.flush()


def main() -> None:
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--title-picture", required=True, help="the installed Start.bmp")
    parser.add_argument("command", nargs="+", help="how to start the game")
    args = parser.parse_args()
    with Image.open(args.title_picture) as picture:
        expected = picture.convert("RGB")
    if expected.size != WINDOW_SIZE:
        sys.exit(f"{args.title_picture} is {expected.size}, not the window's {WINDOW_SIZE}")

    game = subprocess.Popen(args.command)
    try:
        connection, window = wait_for_title(game, expected)
        print(f"the title picture shows in window 0x{window.id:x}; asking it to close",
              flush=True)
        ask_to_close(connection, window)
        code = game.wait(timeout=EXIT_TIMEOUT_S)
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
