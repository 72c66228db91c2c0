"""The mouse from outside: xdotool sends real X pointer events to a display.

With relative mouse mode off, `move` to (X, Y) reaches the window under it as
motion; with it on (the game in play) only `move_relative` does, and the
pointer stays inside the window. Clicks arrive either way.
"""

from __future__ import annotations

import subprocess

# A guard against a hung xdotool; nothing is timed against it.
_TIMEOUT_S = 20.0


def xdotool(env: dict, *args: str) -> None:
    """Run xdotool with `args` on the display that `env` names (DISPLAY)."""
    subprocess.run(["xdotool", *args], env=env, check=True, timeout=_TIMEOUT_S,
                   stdout=subprocess.DEVNULL)


def move(env: dict, x: int, y: int) -> None:
    """Move the pointer to screen position (x, y)."""
    xdotool(env, "mousemove", str(x), str(y))


def move_relative(env: dict, dx: int, dy: int) -> None:
    """Move the pointer by (dx, dy): what relative mouse mode hears."""
    xdotool(env, "mousemove_relative", "--", str(dx), str(dy))


def click(env: dict, button: int = 1) -> None:
    xdotool(env, "click", str(button))


def pointer(root) -> tuple[int, int]:
    """Where the pointer is, in screen coordinates."""
    p = root.query_pointer()
    return p.root_x, p.root_y
