"""Finding a window by its title, where it is, and closing it as a window
manager would.

Without a window manager only a WM_DELETE_WINDOW message closes a window the
way its close button would (SDL turns it into SDL_QUIT); xdotool's
windowclose destroys the window instead.
"""

from __future__ import annotations

import time
from typing import Callable, Optional

from Xlib import X, error, protocol

from vomba_desktop import CaseFailed
from vomba_desktop.screen import Rect

_POLL_INTERVAL_S = 0.05


def title(display, win) -> str:
    """The window's title: _NET_WM_NAME in UTF-8 where it is set, else WM_NAME;
    "" for a window that is gone."""
    try:
        prop = win.get_full_property(display.get_atom("_NET_WM_NAME"),
                                     display.get_atom("UTF8_STRING"))
        if prop is not None and prop.value:
            value = prop.value
            return value.decode("utf-8", "replace") if isinstance(value, bytes) else str(value)
        name = win.get_wm_name()
        if isinstance(name, bytes):
            name = name.decode("latin-1")
        return name or ""
    except error.XError:
        return ""


def all_windows(root) -> list:
    """Every window below `root`, depth first."""
    found, stack = [], [root]
    while stack:
        win = stack.pop()
        try:
            children = win.query_tree().children
        except error.XError:
            continue
        found.extend(children)
        stack.extend(children)
    return found


def is_mapped(win) -> bool:
    """Whether the window is on the screen (False for one that is gone)."""
    try:
        return win.get_attributes().map_state == X.IsViewable
    except error.XError:
        return False


def mapped_with_title(display, matches: Callable[[str], bool]) -> list:
    """The windows on the screen whose title `matches`, as they are now."""
    return [win for win in all_windows(display.screen().root)
            if matches(title(display, win)) and is_mapped(win)]


def find_window(display, matches: Callable[[str], bool], what: str, timeout: float,
                give_up: Callable[[], Optional[str]] = lambda: None):
    """The first window on the screen whose title `matches`, waiting up to
    `timeout` seconds for one. `give_up` may end the wait early: what it
    returns, if anything, is the failure (the program that would show the
    window has ended, say)."""
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        found = mapped_with_title(display, matches)
        if found:
            return found[0]
        reason = give_up()
        if reason:
            raise CaseFailed(reason)
        time.sleep(_POLL_INTERVAL_S)
    raise CaseFailed(f"{what} did not appear within {timeout:.0f} s")


def geometry(display, win) -> Rect:
    """The window's inner rectangle in screen coordinates."""
    g = win.get_geometry()
    origin = display.screen().root.translate_coords(win, 0, 0)
    return Rect(origin.x, origin.y, g.width, g.height)


def request_close(display, win) -> None:
    """Ask the window to close, as a window manager's close button does."""
    ev = protocol.event.ClientMessage(
        window=win, client_type=display.get_atom("WM_PROTOCOLS"),
        data=(32, [display.get_atom("WM_DELETE_WINDOW"), X.CurrentTime, 0, 0, 0]))
    win.send_event(ev, event_mask=X.NoEventMask)
    # A round trip, not a flush: once it returns the server has taken the
    # message in, even if this connection closes at once (after a mere flush
    # a close right away was seen to lose it).
    display.sync()


def wait_gone(win, timeout: float) -> bool:
    """Whether the window left the screen within `timeout` seconds."""
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        if not is_mapped(win):
            return True
        time.sleep(_POLL_INTERVAL_S)
    return False
