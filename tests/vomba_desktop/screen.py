"""Rectangles of the screen, and grabbing one as a picture.

A grab is python3-xlib's GetImage of the root window, about 3 ms for the
game's window. Grabs are not synchronised with the game's presents: callers
wait for a picture to settle, or compare places that cannot be mid-change.
"""

from __future__ import annotations

from dataclasses import dataclass

from PIL import Image
from Xlib import X


@dataclass(frozen=True)
class Rect:
    x: int
    y: int
    w: int
    h: int

    def box(self) -> tuple[int, int, int, int]:
        """As PIL takes a rectangle: left, top, right, bottom."""
        return (self.x, self.y, self.x + self.w, self.y + self.h)

    def moved(self, dx: int, dy: int) -> "Rect":
        return Rect(self.x + dx, self.y + dy, self.w, self.h)


def grab(root, rect: Rect) -> Image.Image:
    """The pixels of `rect` (screen coordinates) of the screen whose root
    window is `root`, as an RGB picture."""
    raw = root.get_image(rect.x, rect.y, rect.w, rect.h, X.ZPixmap, 0xFFFFFFFF)
    return Image.frombytes("RGB", (rect.w, rect.h), raw.data, "raw", "BGRX")
