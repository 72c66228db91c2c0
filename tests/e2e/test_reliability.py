"""The built game with a damaged folder or without a sound device, for real.

A sample of what the headless tests try in full: a sprite sheet full of
garbage stops the game with a message box that the player dismisses, an
empty title picture, a missing sound device and a renderer that cannot make
the canvas are each one line on stderr and the game plays on.
"""

import random
from pathlib import Path

import harness
from vomba_desktop import CaseFailed, log, steps, values
from vomba_desktop.session import COURT_TIMEOUT_S, Session


def _damaged_copy(s: Session, name: str, damage: str) -> Path:
    """A private copy of the game folder with one file damaged.

    "empty" leaves the file with no bytes; "garbage" fills it with random
    bytes of its own length, the same for every run.
    """
    folder = s.game_copy_without()
    path = folder / name
    length = path.stat().st_size
    if damage == "empty":
        path.write_bytes(b"")
    elif damage == "garbage":
        path.write_bytes(random.Random(name).randbytes(length))
    else:
        raise ValueError(f"unknown damage {damage!r}")
    log(f"{name} in {folder}: {damage} ({length} bytes before)")
    return folder


def _has_focus(s: Session, win) -> bool:
    focus = s.d.get_input_focus().focus
    return isinstance(focus, type(win)) and focus.id == win.id


def _expect_no_message_box(s: Session) -> None:
    boxes = [t for t in map(s.window_title, s.windows()) if harness.looks_like_our_message_box(t)]
    if boxes:
        s.save_screen("unexpected-message-box")
        raise CaseFailed(f"a message box appeared although the game can go on: {boxes}")


def garbage_sheet(s: Session) -> None:
    """A sprite sheet of garbage: a message box naming it, Return, exit 1."""
    folder = _damaged_copy(s, "scoreboard..bmp", "garbage")
    harness.stop_at_message_box(s, folder)
    s.expect_exit(1)
    stderr = s.stderr()
    log(f"stderr: {stderr!r}")
    if "scoreboard..bmp" not in stderr:
        raise CaseFailed(f"stderr does not name scoreboard..bmp: {stderr!r}")
    if str(folder) not in stderr:
        raise CaseFailed(f"stderr does not name the folder {folder}: {stderr!r}")


def empty_title(s: Session) -> None:
    """An empty title picture: one line, a start screen without it, play, exit 0."""
    folder = _damaged_copy(s, "Start.bmp", "empty")
    s.start_game(folder)
    win = s.find_game_window()
    s.expect_geometry(win)
    # The title is loaded and reported before the start screen waits.
    s.wait_until(lambda: "Start.bmp" in s.stderr(), "stderr names Start.bmp")
    _expect_no_message_box(s)
    # With no title to wait for, wait for what a click needs: the window has
    # the input focus and shows a settled picture.
    s.wait_until(lambda: _has_focus(s, win), "game window has the focus")
    s.move_in_window(300, 200)
    s.wait_until_still(s.window_rect(), "start screen without its title")
    s.click(1)
    s.wait_until_matches(s.window_rect(), s.picture("pong.bmp"), "court",
                         ignore=values.FRAME_LOOP_DRAWS)
    steps.require_frame_loop(s)
    s.close(win)
    s.expect_exit(0)
    lines = s.problem_lines()
    log(f"stderr lines: {lines!r}")
    if len(lines) != 1 or "Start.bmp" not in lines[0]:
        raise CaseFailed(f"expected one stderr line naming Start.bmp, got {lines!r}")


def no_audio_device(s: Session) -> None:
    """No sound device at all: one line, then the game plays silently, exit 0."""
    s.start_game(audio_driver="no-such-driver")
    win = s.find_game_window()
    s.wait_until_matches(s.window_rect(), s.picture("Start.bmp"), "title picture")
    steps.click_past_title(s)
    steps.require_frame_loop(s)
    _expect_no_message_box(s)
    s.close(win)
    s.expect_exit(0)
    lines = s.problem_lines()
    log(f"stderr lines: {lines!r}")
    if len(lines) != 1 or "sound" not in lines[0]:
        raise CaseFailed(f"expected one stderr line about the missing sound, got {lines!r}")


def no_canvas(s: Session) -> None:
    """An OpenGL renderer without render targets: one line, the game plays on, exit 0."""
    # Mesa takes the framebuffer extension away on request, so SDL's OpenGL
    # renderer has no render targets, as on an old driver. Mesa then draws
    # every texture made after the first one white (a plain SDL program shows
    # the same), so only the title picture can be compared here; the drawing
    # itself is checked by the whole-program tests.
    s.start_game(extra_env={"MESA_EXTENSION_OVERRIDE": "-GL_EXT_framebuffer_object"})
    win = s.find_game_window()
    s.wait_until_matches(s.window_rect(), s.picture("Start.bmp"), "title picture")
    s.move_in_window(300, 200)
    s.click(1)
    s.wait_until(lambda: steps.pointer_held(s), "play begins: the window holds the pointer",
                 timeout=COURT_TIMEOUT_S)
    s.close(win)
    s.expect_exit(0)
    # Mesa adds a warning line of its own; the game's lines are its own.
    ours = [line for line in s.problem_lines() if line.startswith("VombaPong:")]
    log(f"the game's stderr lines: {ours!r}")
    if len(ours) != 1 or "canvas" not in ours[0] or "window" not in ours[0]:
        raise CaseFailed(f"expected one line about drawing without a canvas, got {ours!r}")


CASES = {
    "garbage_sheet": garbage_sheet,
    "empty_title": empty_title,
    "no_audio_device": no_audio_device,
    "no_canvas": no_canvas,
}

if __name__ == "__main__":
    harness.main(CASES)
