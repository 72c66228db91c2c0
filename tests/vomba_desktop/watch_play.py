"""Play and close: run a command that starts VombaPong on an X server of our
own, wait until the game's window shows its title picture, ask the window
to close as a window manager would, and end with the command's exit code.

    PYTHONPATH=tests /usr/bin/python3 -m vomba_desktop.watch_play \\
        --facts build/game_facts.json --title-picture build/game/Start.bmp \\
        -- sh -c 'cd build/game && exec ./vombapong'

scripts/fresh-machine-check.sh runs `make play` in a bare Debian root this
way. The command gets DISPLAY in its environment, and every "{display}" in
it becomes the display's name, for commands that start from an empty
environment (`env -i ... DISPLAY={display} ...`). The command may build the
game first: the facts (which give the window's title) and the title picture
are waited for with the window.

Exit codes: the command's own after the close request; 1 when the command
ended before the title showed, the title did not show within
--window-timeout, or the command did not end within --exit-timeout of the
close request (it is then ended); 2 for a wrong command line.
"""

from __future__ import annotations

import argparse
import os
import shutil
import signal
import subprocess
import sys
import tempfile
import time
from pathlib import Path
from typing import Callable, Optional

from PIL import Image
from Xlib import display, error

from vomba_desktop import CaseFailed, log, pictures, screen, windows
from vomba_desktop.facts import read_facts
from vomba_desktop.xserver import XServer

# A window is taken once the same one still shows the title this much later:
# making an OpenGL renderer replaces SDL's first window with another.
SETTLE_S = 0.3
POLL_INTERVAL_S = 0.2


def window_title(facts: Path) -> Optional[str]:
    """The game window's title, once the build has written the facts."""
    try:
        return read_facts(facts)["window"]["title"]
    except (OSError, ValueError, KeyError):
        return None


def shows_picture(d, win, picture: Path) -> bool:
    """Whether the window shows `picture`, as the end-to-end tests compare."""
    try:
        with Image.open(picture) as expected:
            expected = expected.convert("RGB")
        shown = screen.grab(d.screen().root, windows.geometry(d, win))
    except (OSError, error.XError):
        return False  # the picture is not built yet, or the window is gone
    if shown.size != expected.size:
        return False
    return pictures.compare_images(shown, expected, "title picture").ok


def wait_for_title(d, command: subprocess.Popen, title_now: Callable[[], Optional[str]],
                   picture: Path, timeout: float):
    """The game's window once it shows the title picture and stays.
    `title_now` gives the window's title, or None while it is not known yet."""
    deadline = time.monotonic() + timeout
    while True:
        if command.poll() is not None:
            raise CaseFailed(f"the command ended ({command.returncode}) before the game "
                             "showed its title picture")
        if time.monotonic() > deadline:
            raise CaseFailed(f"no title picture within {timeout:.0f} s")
        title = title_now()
        if title is not None:
            def ours(t: str) -> bool:
                return t == title

            found = windows.mapped_with_title(d, ours)
            if found and all(shows_picture(d, win, picture) for win in found):
                time.sleep(SETTLE_S)
                again = windows.mapped_with_title(d, ours)
                if [w.id for w in again] == [w.id for w in found]:
                    return found[0]
        time.sleep(POLL_INTERVAL_S)


def end_group(command: subprocess.Popen) -> None:
    """End the command and everything it started (its own session)."""
    for sig, grace in ((signal.SIGTERM, 10.0), (signal.SIGKILL, None)):
        if command.poll() is not None:
            return
        try:
            os.killpg(command.pid, sig)
        except ProcessLookupError:
            return
        try:
            command.wait(timeout=grace)
        except subprocess.TimeoutExpired:
            continue


def play_and_close(args: argparse.Namespace, server: XServer) -> int:
    argv = [part.replace("{display}", server.name) for part in args.command]
    log(f"display {server.name}; running {argv}")
    command = subprocess.Popen(argv, env=server.env(), start_new_session=True)
    try:
        d = display.Display(server.name)
        try:
            win = wait_for_title(d, command, lambda: window_title(args.facts),
                                 args.title_picture, args.window_timeout)
            log(f"the title picture is on the display in window 0x{win.id:x}; "
                "sending WM_DELETE_WINDOW")
            windows.request_close(d, win)
        finally:
            d.close()
        try:
            code = command.wait(timeout=args.exit_timeout)
        except subprocess.TimeoutExpired:
            raise CaseFailed(f"the command did not end within {args.exit_timeout:.0f} s "
                             "of the close request")
        log(f"the command ended with exit code {code} after the close request")
        return code
    finally:
        end_group(command)


def main() -> int:
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--facts", type=Path, required=True,
                        help="the game_facts.json the command's build writes")
    parser.add_argument("--title-picture", type=Path, required=True,
                        help="the Start.bmp the command's build writes")
    parser.add_argument("--window-timeout", type=float, default=60.0,
                        help="seconds to wait for the title picture (a guard only)")
    parser.add_argument("--exit-timeout", type=float, default=60.0,
                        help="seconds to wait for the end after the close request")
    parser.add_argument("command", nargs="+", help="the command that starts the game")
    args = parser.parse_args()
    # Ended from outside (the fresh-machine check interrupted): the command
    # and the X server are ended on the way out.
    signal.signal(signal.SIGTERM, lambda *_: sys.exit(143))

    work = Path(tempfile.mkdtemp(prefix="vomba-watch-"))
    code = 1
    try:
        with XServer(work / "xvfb.log") as server:
            code = play_and_close(args, server)
    except CaseFailed as failure:
        log(f"FAILED: {failure}")
    finally:
        if code == 0:
            shutil.rmtree(work, ignore_errors=True)
        else:
            log(f"the X server's log is in {work}")
    return code


if __name__ == "__main__":
    sys.exit(main())
