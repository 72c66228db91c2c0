"""Debian's Chromium, headless, spoken to over its DevTools protocol, and the
page served on 127.0.0.1 by a server of the test's own.

The protocol runs over a pair of pipes (--remote-debugging-pipe: JSON
messages, each ended by a NUL byte), so no port is opened and nothing but the
standard library is needed.  Chromium starts with a fresh profile and with
everything it would fetch for itself switched off (the machine's network is
closed; those requests would only fail, many at a time), and without any
flag that loosens its rules for sound or the pointer: the page must get them
as a player's page does.
"""

from __future__ import annotations

import functools
import http.server
import json
import os
import select
import shutil
import signal
import subprocess
import tempfile
import threading
import time
from pathlib import Path
from typing import Callable, Optional

CHROMIUM = "/usr/bin/chromium"
REPLY_TIMEOUT_S = 60.0
# Its fixed descriptors for the protocol: it reads from 3 and writes to 4.
PIPE_IN_FD, PIPE_OUT_FD = 3, 4
SPARE_FDS = (1000, 1001)
FLAGS = ["--headless", "--disable-gpu", "--disable-quic", "--no-first-run",
         "--disable-background-networking", "--disable-component-update", "--disable-sync",
         "--window-size=1000,700", "--remote-debugging-pipe"]


class ProtocolError(RuntimeError):
    """Chromium answered a command with an error."""


class Chromium:
    """One browser; `send` a command to it, to a page when `session` is given."""

    def __init__(self, log_path: Path):
        self._profile = tempfile.mkdtemp(prefix="vomba-chromium-")
        to_browser_r, self._to_browser = os.pipe()
        self._from_browser, from_browser_w = os.pipe()

        def put_pipes_in_place() -> None:  # in the child, before Chromium starts
            # Through free numbers first: either pipe may already sit on 3 or 4.
            os.dup2(to_browser_r, SPARE_FDS[0])
            os.dup2(from_browser_w, SPARE_FDS[1])
            os.dup2(SPARE_FDS[0], PIPE_IN_FD)
            os.dup2(SPARE_FDS[1], PIPE_OUT_FD)

        # Chromium refuses its sandbox to root; as anyone else it keeps it.
        sandbox = ["--no-sandbox"] if os.geteuid() == 0 else []
        self._log = open(log_path, "wb")
        self.process = subprocess.Popen(
            [CHROMIUM, *FLAGS, *sandbox, f"--user-data-dir={self._profile}", "about:blank"],
            preexec_fn=put_pipes_in_place, pass_fds=(PIPE_IN_FD, PIPE_OUT_FD),
            stdin=subprocess.DEVNULL, stdout=self._log, stderr=subprocess.STDOUT,
            start_new_session=True)
        os.close(to_browser_r)
        os.close(from_browser_w)
        self._buffer = b""
        self._last_id = 0
        self._listeners: list[Callable[[dict], None]] = []

    def listen(self, listener: Callable[[dict], None]) -> None:
        """Call `listener` with every event message from now on."""
        self._listeners.append(listener)

    def send(self, method: str, params: Optional[dict] = None, session: Optional[str] = None,
             timeout: float = REPLY_TIMEOUT_S) -> dict:
        return self.send_together([(method, params)], session, timeout)[0]

    def send_together(self, commands: list[tuple[str, Optional[dict]]],
                      session: Optional[str] = None,
                      timeout: float = REPLY_TIMEOUT_S) -> list[dict]:
        """Send every command before waiting for the first reply, so that the
        page takes them in as closely together as a person's quickest hand."""
        waiting = {}
        for method, params in commands:
            self._last_id += 1
            waiting[self._last_id] = method
            message = {"id": self._last_id, "method": method, "params": params or {}}
            if session:
                message["sessionId"] = session
            os.write(self._to_browser, json.dumps(message).encode() + b"\0")
        replies = {}
        deadline = time.monotonic() + timeout
        while len(replies) < len(waiting):
            reply = self._next_message(deadline)
            if reply is None:
                raise TimeoutError(f"Chromium did not answer {list(waiting.values())} "
                                   f"within {timeout:.0f} s")
            if reply.get("id") in waiting:
                if "error" in reply:
                    raise ProtocolError(f"{waiting[reply['id']]}: {reply['error']}")
                replies[reply["id"]] = reply.get("result", {})
        return [replies[number] for number in sorted(replies)]

    def pump(self, seconds: float) -> None:
        """Take in the events of `seconds`."""
        deadline = time.monotonic() + seconds
        while self._next_message(deadline) is not None:
            pass

    def _next_message(self, deadline: float) -> Optional[dict]:
        """The next reply (events on the way go to the listeners); None at the deadline."""
        while True:
            while b"\0" not in self._buffer:
                left = deadline - time.monotonic()
                if left <= 0 or not select.select([self._from_browser], [], [], left)[0]:
                    return None
                chunk = os.read(self._from_browser, 1 << 20)
                if not chunk:
                    raise EOFError(f"Chromium ended (exit code {self.process.poll()})")
                self._buffer += chunk
            raw, self._buffer = self._buffer.split(b"\0", 1)
            message = json.loads(raw)
            if "id" in message:
                return message
            for listener in self._listeners:
                listener(message)

    def close(self) -> None:
        # The whole group: the browser and the processes it started for pages.
        for stop, wait in ((signal.SIGTERM, 10), (signal.SIGKILL, None)):
            try:
                os.killpg(self.process.pid, stop)
                self.process.wait(timeout=wait)
                break
            except ProcessLookupError:
                break
            except subprocess.TimeoutExpired:
                continue
        for fd in (self._to_browser, self._from_browser):
            os.close(fd)
        self._log.close()
        shutil.rmtree(self._profile, ignore_errors=True)


class _SiteHandler(http.server.SimpleHTTPRequestHandler):
    # Streaming compilation needs the .wasm served as what it is.
    extensions_map = {**http.server.SimpleHTTPRequestHandler.extensions_map,
                      ".wasm": "application/wasm", ".data": "application/octet-stream"}

    def log_message(self, format: str, *args) -> None:
        self.server.requested.append(self.path)


class SiteServer:
    """The site folder on 127.0.0.1, on a port the system picks; `requested`
    lists every path asked for."""

    def __init__(self, site: Path):
        handler = functools.partial(_SiteHandler, directory=str(site))
        self._server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), handler)
        self._server.requested = []
        self.origin = f"http://127.0.0.1:{self._server.server_port}"
        self._thread = threading.Thread(target=self._server.serve_forever, daemon=True)
        self._thread.start()

    @property
    def requested(self) -> list[str]:
        return list(self._server.requested)

    def close(self) -> None:
        self._server.shutdown()
        self._server.server_close()
