"""Comparing a picture with the one expected, and drawing a keyed sprite over
a picture as the game draws it.

Renderers may round a channel a little, so a pixel counts as differing only
when one of its channels differs by more than a tolerance; a comparison is
good when no more than a fraction of the pixels differ.
"""

from __future__ import annotations

from dataclasses import dataclass
from typing import Iterable

from PIL import Image, ImageChops

from vomba_desktop import CaseFailed
from vomba_desktop.screen import Rect

# What every comparison allows unless told otherwise: the rounding of
# OpenGL and of the software renderer stays well inside both.
TOLERANCE = 24
MAX_FRACTION = 0.001


@dataclass
class Comparison:
    name: str
    differing: int
    total: int
    max_fraction: float
    diff_mask: Image.Image  # 255 where a pixel differs

    @property
    def fraction(self) -> float:
        return self.differing / self.total if self.total else 0.0

    @property
    def ok(self) -> bool:
        return self.fraction <= self.max_fraction

    def describe(self) -> str:
        return (f"{self.name}: {self.differing} of {self.total} pixels differ "
                f"({self.fraction:.4%}, allowed {self.max_fraction:.4%})")


def compare_images(actual: Image.Image, expected: Image.Image, name: str = "picture",
                   tolerance: int = TOLERANCE, max_fraction: float = MAX_FRACTION,
                   ignore: Iterable[Rect] = ()) -> Comparison:
    """Compare two pictures of the same size, as RGB.

    A pixel differs when any channel differs by more than `tolerance`.
    Rectangles in `ignore` (in the pictures' own coordinates) are not looked at.
    """
    actual = actual.convert("RGB")
    expected = expected.convert("RGB")
    if actual.size != expected.size:
        raise CaseFailed(f"{name}: size {actual.size} differs from expected {expected.size}")
    channel_diff = ImageChops.difference(actual, expected)
    # A pixel's difference is its largest channel difference.
    r, g, b = channel_diff.split()
    largest = ImageChops.lighter(ImageChops.lighter(r, g), b)
    mask = largest.point(lambda v: 255 if v > tolerance else 0)
    considered = Image.new("L", actual.size, 255)
    for rect in ignore:
        mask.paste(0, rect.box())
        considered.paste(0, rect.box())
    differing = mask.histogram()[255]
    total = considered.histogram()[255]
    return Comparison(name, differing, total, max_fraction, mask)


def opaque_mask(sprite: Image.Image, key: tuple[int, int, int]) -> Image.Image:
    """255 where `sprite` is not its transparent key colour, 0 where it is."""
    keyed = Image.new("L", sprite.size, 0)
    keyed.putdata([0 if p == key else 255 for p in sprite.convert("RGB").getdata()])
    return keyed


def compose_sprite(background: Image.Image, sprite: Image.Image, at: tuple[int, int],
                   key: tuple[int, int, int]) -> Image.Image:
    """Draw `sprite` over `background` at `at`, its `key` pixels left transparent."""
    result = background.convert("RGB").copy()
    sprite = sprite.convert("RGB")
    result.paste(sprite, at, opaque_mask(sprite, key))
    return result
