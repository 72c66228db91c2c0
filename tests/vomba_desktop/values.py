"""The game's shared test values, each written once.

Where the game states a value (its window, the sizes and colours of its
files, the sprite sheet's pieces and the scoreboard's places) it is read from
the game's own description of itself (see facts). Where a value is the
tests' own (how they move the mouse to serve, where they park the paddle) it
is written here, with why it is that value. The X server's screen is
xserver's.

Reading this module reads the facts of the build that the running program
names with --game-dir or --build-dir (see facts.facts_file).
"""

from __future__ import annotations

from vomba_desktop.facts import facts_file, read_facts_or_exit
from vomba_desktop.screen import Rect

GAME_FACTS = read_facts_or_exit(facts_file())

GAME_EXECUTABLE = "vombapong"

# ----- what the game states ------------------------------------------------------

WINDOW_TITLE = GAME_FACTS["window"]["title"]
WINDOW_X, WINDOW_Y = GAME_FACTS["window"]["place"]
WINDOW_WIDTH, WINDOW_HEIGHT = GAME_FACTS["window"]["size"]

# Court colour under every sprite's transparent magenta.
COURT_GREEN = tuple(GAME_FACTS["court_colour"])
MAGENTA = tuple(GAME_FACTS["key_colour"])
PADDLE_W, PADDLE_H = GAME_FACTS["paddle"]
BALL_SIZE = GAME_FACTS["ball_size"]

# The sprite sheet's pieces the scoreboard copies ("digits" is a list of ten),
# and the places on the window where it shows them.
SHEET = {name: [Rect(*r) for r in value] if name == "digits" else Rect(*value)
         for name, value in GAME_FACTS["sheet"].items()}
SCREEN = {name: Rect(*value) for name, value in GAME_FACTS["screen"].items()}

# What the game says once where OpenGL draws on the processor, as under Xvfb:
# a notice, not a problem.
SOFTWARE_RENDERER_NOTICE = "VombaPong: no graphics card found; drawing with the software renderer"

# The frame period of play, in milliseconds: every move is one step of it.
FRAME_MILLIS = GAME_FACTS["play"]["frame_millis"]

# What the frame loop draws over the court: the two score digits, the ball at
# its start place and the computer paddle's column; and where the ball rests
# after a point.
SCORE_CELLS = (SCREEN["player_units"], SCREEN["computer_units"])
BALL_START = Rect(*GAME_FACTS["play"]["ball_start"])
BALL_SERVE_AFTER_POINT = Rect(*GAME_FACTS["play"]["ball_serve"])
COMPUTER_COLUMN = Rect(*GAME_FACTS["play"]["computer_column"])
FRAME_LOOP_DRAWS = (*SCORE_CELLS, BALL_START, COMPUTER_COLUMN)

# ----- the tests' own ---------------------------------------------------------------

# In play the game hears only relative motion, clamped to the player's half,
# so every known place is reached from a clamp: a push this far (more than
# the window is wide or tall, in any direction) reaches it from anywhere.
PUSH = 2000

# Mouse places (the paddle's centre), each reached from the top-left clamp,
# where the paddle's centre stops at (30, 45) (steps.move_mouse_to).
# Serving: the paddle at (150, 150) touches the ball resting at its start
# place (184, 182), so the first ball is served at once.
SERVE_MOUSE = (180, 195)
# Parked: the paddle at (50, 150) touches every ball resting at the serve
# place after a point (100, 182), so each later ball is served by itself, and
# a ball that comes back at that height is returned.
PARK_MOUSE = (80, 195)


def paddle_place(mouse: tuple[int, int]) -> tuple[int, int]:
    """The player's paddle's top-left corner for a mouse place inside its clamps:
    the paddle is centred on the mouse."""
    return (mouse[0] - PADDLE_W // 2, mouse[1] - PADDLE_H // 2)


PARKED_PADDLE = paddle_place(PARK_MOUSE)
