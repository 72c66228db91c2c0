"""An X server of our own: Xvfb with no window manager, on the first free
display number, which the server picks itself (-displayfd), so that several
can run side by side on one machine."""

from __future__ import annotations

import os
import subprocess
import time
from pathlib import Path
from typing import Iterable

# Wide and tall enough for the game's 600 x 400 window at (300, 100) and for
# its message boxes beside it; 24 bits, so that a grab holds the exact colours
# the game drew.
SCREEN_WIDTH, SCREEN_HEIGHT = 1280, 800
SCREEN_SIZE = f"{SCREEN_WIDTH}x{SCREEN_HEIGHT}x24"

# A guard against a server that never comes up; nothing is timed against it.
START_TIMEOUT_S = 20.0
_POLL_INTERVAL_S = 0.05


class XServer:
    """An Xvfb of our own; `name` is its display (":5"), `process` the server.

    -noreset keeps the server, and the pointer's place, when its last client
    disconnects (between two xdotool calls, say). `extra_args` are more of
    Xvfb's options (a font path, say).
    """

    def __init__(self, log_path: Path, extra_args: Iterable[str] = ()):
        read_fd, write_fd = os.pipe()
        self._log = open(log_path, "wb")
        self.process = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write_fd), "-screen", "0", SCREEN_SIZE,
             "-nolisten", "tcp", "-noreset", *extra_args],
            pass_fds=(write_fd,), stdout=self._log, stderr=subprocess.STDOUT,
            start_new_session=True)
        os.close(write_fd)
        number = b""
        deadline = time.monotonic() + START_TIMEOUT_S
        os.set_blocking(read_fd, False)
        while not number.endswith(b"\n"):
            if self.process.poll() is not None:
                os.close(read_fd)
                raise RuntimeError(f"Xvfb ended with {self.process.returncode}; see {log_path}")
            if time.monotonic() > deadline:
                os.close(read_fd)
                self.stop()
                raise RuntimeError("Xvfb did not report its display number")
            try:
                chunk = os.read(read_fd, 64)
            except BlockingIOError:
                chunk = b""
            if chunk:
                number += chunk
            else:
                time.sleep(_POLL_INTERVAL_S)
        os.close(read_fd)
        self.name = f":{number.decode().strip()}"

    def env(self) -> dict:
        """This process's environment with DISPLAY naming this server (and no
        XAUTHORITY: the server asks for none)."""
        env = dict(os.environ, DISPLAY=self.name)
        env.pop("XAUTHORITY", None)
        return env

    def stop(self) -> None:
        if self.process.poll() is None:
            self.process.terminate()
            try:
                self.process.wait(timeout=10)
            except subprocess.TimeoutExpired:
                self.process.kill()
                self.process.wait()
        self._log.close()

    def __enter__(self) -> "XServer":
        return self

    def __exit__(self, *exc) -> None:
        self.stop()
