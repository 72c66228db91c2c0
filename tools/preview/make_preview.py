"""Render one PNG that shows every picture of VombaPong beside the game in play.

    PYTHONPATH=tests /usr/bin/python3 tools/preview/make_preview.py \
        --game-dir build/game --out build/preview/preview.png

(`make preview` does this.) The pictures are read from the game directory
exactly as the game reads them (magenta is the transparent colour and is shown
as it is).  The screenshot comes from the built game itself: the desktop-test
tools (vomba_desktop) start it under their own Xvfb, click past the title,
serve the ball with a real relative mouse move, and pause the game while the
ball is in flight so the grab shows one whole frame.  The screenshot alone is written beside the preview as
screenshot.png.

Scales: the screenshot, the title picture and the court at 1x (they are
600 x 400 each); the two creatures and the ball at 4x; the sprite sheet at 2x,
which keeps its digits and words readable without making the sheet wider
than everything else.
"""

from __future__ import annotations

import argparse
import time
from pathlib import Path

from PIL import Image, ImageDraw, ImageFont

from vomba_desktop.session import Session
from vomba_desktop.steps import leave_start_screen, require_frame_loop, serve

BACKGROUND = (40, 40, 48)
LABEL_COLOUR = (235, 235, 235)
MARGIN = 32
LABEL_HEIGHT = 52
FONT_FILE = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf"
FONT_SIZE = 18

# (file, scale) in the order they are laid out, row by row.
ROWS = (
    (("Start.bmp", 1), ("pong.bmp", 1)),
    (("vombaGruen.bmp", 4), ("vombaLILA.bmp", 4), ("ball.bmp", 4), ("scoreboard..bmp", 2)),
)

# Let the served ball, first seen right of the paddle, travel toward the
# middle of the court before pausing.
FLIGHT_S = 0.6


def screenshot_in_play(game_dir: Path, work: Path) -> Image.Image:
    """The running game with a served ball in flight, both creatures and the scores."""
    with Session(game_dir, work) as s:
        win = leave_start_screen(s)
        require_frame_loop(s)
        serve(s)
        time.sleep(FLIGHT_S)
        s.click(1)  # pause: the window then holds one whole frame
        picture = s.wait_until_still(s.window_rect(), "paused game", interval=0.3,
                                     timeout=10.0)
        s.close(win)
        s.expect_exit(0)
        return picture


def font() -> ImageFont.ImageFont:
    try:
        return ImageFont.truetype(FONT_FILE, FONT_SIZE)
    except OSError:
        return ImageFont.load_default()


def tile(picture: Image.Image, scale: int) -> Image.Image:
    return picture.convert("RGB").resize((picture.width * scale, picture.height * scale),
                                         Image.NEAREST)


def lay_out(rows: list[list[tuple[Image.Image, str]]]) -> Image.Image:
    """Tiles left to right in rows, each with its label under it."""
    width = max(sum(t.width for t, _ in row) + MARGIN * (len(row) + 1) for row in rows)
    height = sum(max(t.height for t, _ in row) + LABEL_HEIGHT + MARGIN for row in rows) + MARGIN
    sheet = Image.new("RGB", (width, height), BACKGROUND)
    draw = ImageDraw.Draw(sheet)
    lettering = font()
    y = MARGIN
    for row in rows:
        x = MARGIN
        for picture, label in row:
            sheet.paste(picture, (x, y))
            draw.multiline_text((x, y + picture.height + 6), label, fill=LABEL_COLOUR,
                               font=lettering, spacing=4)
            x += picture.width + MARGIN
        y += max(t.height for t, _ in row) + LABEL_HEIGHT + MARGIN
    return sheet


def main() -> None:
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--game-dir", type=Path, required=True,
                        help="directory of the built vombapong and its pictures")
    parser.add_argument("--out", type=Path, required=True, help="the preview PNG to write")
    args = parser.parse_args()

    out_dir = args.out.parent
    out_dir.mkdir(parents=True, exist_ok=True)
    shot = screenshot_in_play(args.game_dir, out_dir / "session")
    shot.save(out_dir / "screenshot.png", optimize=True)

    rows: list[list[tuple[Image.Image, str]]] = []
    for i, row in enumerate(ROWS):
        tiles = []
        if i == 0:
            tiles.append((shot, "the game in play\nscreenshot, 1x"))
        for name, scale in row:
            with Image.open(args.game_dir / name) as picture:
                label = f"{name}\n{picture.width} x {picture.height}, shown {scale}x"
                tiles.append((tile(picture, scale), label))
        rows.append(tiles)
    lay_out(rows).save(args.out, optimize=True)
    print(f"wrote {args.out} and {out_dir / 'screenshot.png'}")


if __name__ == "__main__":
    main()
