"""The game's page in one of Debian's headless browsers, played as the desktop
cases play the game under Xvfb.

PageSession is the desktop tests' Session (vomba_desktop) with the browser in
place of the X server: the canvas stands where the desktop window opens, at
(WINDOW_X, WINDOW_Y) on a screen of its own, so every picture, wait, step and
place of the desktop tests (vomba_desktop.steps, vomba_desktop.match)
works on the page unchanged.
The browser is puppeteer's (browser.mjs, a thin bridge on a pipe), its mouse
and touch screen are the player's hands, screen grabs are screenshots of the
canvas (or, on a phone, where the canvas is shown smaller, its own pixels),
and the page's ending (web/page.js records its exit code) stands for the
game process's.

Besides, the session keeps what the page says and fetches: every console
error and uncaught exception, and every request for anything but the site on
127.0.0.1. `expect_clean` fails the case on either.
"""

from __future__ import annotations

import base64
import functools
import http.server
import io
import json
import os
import select
import signal
import subprocess
import threading
import time
from pathlib import Path
from typing import Optional

from PIL import Image

from vomba_desktop import CaseFailed, log
from vomba_desktop.screen import Rect
from vomba_desktop.session import Session
from vomba_desktop.values import WINDOW_WIDTH, WINDOW_X, WINDOW_Y

BRIDGE = Path(__file__).with_name("browser.mjs")
LOAD_TIMEOUT_S = 60.0
REPLY_TIMEOUT_S = 60.0
WAIT_LOG_LENGTH = 100_000
BUTTONS = {1: "left", 2: "middle", 3: "right"}
# A phone held upright, as puppeteer's device list describes one.
PHONE = {"viewport": {"width": 390, "height": 844, "isMobile": True, "hasTouch": True,
                      "deviceScaleFactor": 1},
         "userAgent": "Mozilla/5.0 (Linux; Android 14; Pixel 8) AppleWebKit/537.36 "
                      "(KHTML, like Gecko) Chrome/126.0 Mobile Safari/537.36"}


def _instruments(factor: float) -> str:
    """What the page is watched with, from outside the game.

    Every wait the game asks of the page is logged (its frame waits, as
    bench/delay_probe.cpp sees them on the desktop) and shortened `factor`
    times: the game plays per frame, and its frames wait in setTimeout, so at a
    factor above 1 a whole match passes in a fraction of its time.  And the
    event, if any, during which the page made its audio is noted: the strictest
    browsers start sound only from within the handler of a player's gesture."""
    return (f"(() => {{ const realTimeout = window.setTimeout; window.vombaWaits = [];"
            f" window.setTimeout = (f, ms, ...rest) => {{"
            f" if (window.vombaWaits.length < {WAIT_LOG_LENGTH})"
            f" window.vombaWaits.push([performance.now(), ms || 0]);"
            f" return realTimeout(f, (ms || 0) / {factor}, ...rest); }};"
            f" const RealAudio = window.AudioContext;"
            f" window.AudioContext = class extends RealAudio {{ constructor(...args) {{"
            f" super(...args); window.vombaAudioMadeIn = window.event ? window.event.type : null;"
            f" }} }}; }})();")


class Browser:
    """The bridge (browser.mjs) and the browser it drives; `call` runs
    puppeteer page methods back to back and gives the last one's result."""

    def __init__(self, name: str, log_path: Path):
        self._log = open(log_path, "wb")
        # Its own session: puppeteer ends the browser when the bridge is told to stop.
        self.process = subprocess.Popen(["node", str(BRIDGE), name], stdin=subprocess.PIPE,
                                        stdout=subprocess.PIPE, stderr=self._log,
                                        start_new_session=True)
        self.version = self._reply("starting the browser")

    def call(self, *calls: tuple[str, list]):
        line = json.dumps({"calls": [[name, args] for name, args in calls]}).encode()
        self.process.stdin.write(line + b"\n")
        self.process.stdin.flush()
        return self._reply(", ".join(name for name, _ in calls))

    def _reply(self, what: str):
        if not select.select([self.process.stdout], [], [], REPLY_TIMEOUT_S)[0]:
            raise CaseFailed(f"the browser did not answer {what} within {REPLY_TIMEOUT_S:.0f} s")
        line = self.process.stdout.readline()
        if not line:
            raise CaseFailed(f"the browser's bridge ended during {what} (exit code "
                             f"{self.process.wait()}; see browser.log)")
        reply = json.loads(line)
        if "error" in reply:
            raise CaseFailed(f"{what}: {reply['error']}")
        return reply["value"]

    def close(self) -> None:
        # Asked first (puppeteer closes the browser), then told (it kills it).
        try:
            self.process.stdin.close()
        except OSError:
            pass
        for stop in (None, signal.SIGTERM, signal.SIGKILL):
            try:
                if stop is not None:
                    os.killpg(self.process.pid, stop)
                self.process.wait(timeout=15)
                break
            except ProcessLookupError:
                break
            except subprocess.TimeoutExpired:
                continue
        self._log.close()


class _SiteHandler(http.server.SimpleHTTPRequestHandler):
    # Streaming compilation needs the .wasm served as what it is.
    extensions_map = {**http.server.SimpleHTTPRequestHandler.extensions_map,
                      ".wasm": "application/wasm", ".data": "application/octet-stream",
                      ".webmanifest": "application/manifest+json"}

    def log_message(self, format: str, *args) -> None:
        self.server.requested.append(self.path)


class SiteServer:
    """The site folder on 127.0.0.1, on a port the system picks; `requested`
    lists every path asked for. Closed, it is the network gone."""

    def __init__(self, site: Path):
        handler = functools.partial(_SiteHandler, directory=str(site))
        self._server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), handler)
        self._server.requested = []
        self.origin = f"http://127.0.0.1:{self._server.server_port}"
        self._thread = threading.Thread(target=self._server.serve_forever, daemon=True)
        self._thread.start()
        self.open = True

    @property
    def requested(self) -> list[str]:
        return list(self._server.requested)

    def close(self) -> None:
        if self.open:
            self._server.shutdown()
            self._server.server_close()
            self.open = False


class PageGame:
    """The game on the page, answering as a game process does: poll() gives
    None while it runs and its exit code once it has ended."""

    def __init__(self, session: "PageSession"):
        self._session = session
        self.returncode: Optional[int] = None

    def poll(self) -> Optional[int]:
        if self.returncode is None:
            self.returncode = self._session.evaluate("Module.vombaExitCode")
        return self.returncode


class PageSession(Session):
    def __init__(self, site: Path, game_dir: Path, artifacts: Path, browser: str,
                 time_warp: float = 1.0, renderer: str = "default", device: Optional[dict] = None):
        # No X server: the page is shown by the browser alone.
        self.game_dir = Path(game_dir).resolve()
        self.artifacts = Path(artifacts)
        self.artifacts.mkdir(parents=True, exist_ok=True)
        self.game: Optional[PageGame] = None
        self.console_errors: list[str] = []
        self.warnings: list[str] = []
        self.outside_requests: list[str] = []
        self._mouse = (0.0, 0.0)  # where the browser's mouse is, in page pixels
        self._canvas_box = (0.0, 0.0, float(WINDOW_WIDTH), 0.0)
        self._view = (0, 0)
        self.server = SiteServer(Path(site))
        self.browser = Browser(browser, self.artifacts / "browser.log")
        try:
            scripts = [_instruments(time_warp)]
            if renderer != "default":
                # As SDL_RENDER_DRIVER in a desktop's environment; the page's
                # environment is the loader's ENV.
                scripts.append("window.Module = {preRun: [() => { ENV.SDL_RENDER_DRIVER = "
                               f"'{renderer}'; }}]}};")
            self.browser.call(*[("evaluateOnNewDocument", [script]) for script in scripts])
            if device:
                self.browser.call(("emulate", [device]))
        except Exception:
            self.close_all()
            raise
        log(f"{self.browser.version}, site at {self.server.origin}, renderer {renderer}"
            + (f", timers {time_warp:g} times faster" if time_warp != 1.0 else "")
            + (f", as a phone {device['viewport']}" if device else ""))

    # ----- life cycle -------------------------------------------------------

    def close_all(self) -> None:
        self.browser.close()
        self.server.close()

    def evaluate(self, expression: str):
        return self.browser.call(("evaluate", [expression]))

    def open_page(self, reload: bool = False) -> None:
        """Load the page (or load it again) and wait for the canvas; the game
        starts by itself."""
        if reload:
            self.browser.call(("reload", [{"timeout": LOAD_TIMEOUT_S * 1000}]))
        else:
            self.browser.call(("goto", [self.server.origin + "/",
                                        {"timeout": LOAD_TIMEOUT_S * 1000}]))
        self.game = PageGame(self)
        self.measure_canvas()

    def measure_canvas(self) -> None:
        """Where the page shows the canvas now, and how large."""
        measures = self.evaluate(
            "(() => { const c = document.getElementById('canvas'); if (!c) return null;"
            " const r = c.getBoundingClientRect();"
            " return [r.x, r.y, r.width, r.height, innerWidth, innerHeight]; })()")
        if measures is None:
            raise CaseFailed("the page has no canvas: not the game's page (the browser's own "
                             "error page?)")
        *box, width, height = measures
        self._canvas_box = tuple(box)
        self._view = (width, height)
        log(f"the canvas at ({box[0]:g}, {box[1]:g}), {box[2]:g} x {box[3]:g}")

    def _take_in(self) -> None:
        heard = self.browser.call(("heard", []))
        self.console_errors += heard["errors"]
        self.warnings += heard["notices"]
        self.outside_requests += [url for url in heard["requests"]
                                  if not url.startswith(self.server.origin + "/")]

    def expect_clean(self) -> None:
        """No console error, no exception, and nothing fetched from elsewhere."""
        self._take_in()
        problems = [f"console error: {e}" for e in self.console_errors]
        problems += [f"request beyond 127.0.0.1: {url}" for url in self.outside_requests]
        if problems:
            raise CaseFailed("; ".join(problems))
        log(f"no console error; the site served {sorted(set(self.server.requested))}")

    def stderr(self) -> str:
        self._take_in()
        return "\n".join(self.warnings)

    # ----- the hands: screen places are the desktop's, the canvas the window ----

    def _page_point(self, x: float, y: float) -> tuple[float, float]:
        """A place on the desktop's screen, on the canvas as the page shows it."""
        left, top, width, _ = self._canvas_box
        scale = width / WINDOW_WIDTH
        return (left + (x - WINDOW_X) * scale, top + (y - WINDOW_Y) * scale)

    def move(self, x: int, y: int) -> None:
        self._mouse = self._page_point(x, y)
        self.browser.call(("mouse.move", list(self._mouse)))

    def move_relative(self, dx: int, dy: int) -> None:
        """What a held pointer hears: the movement from the last place, up to
        the page's edge, which lies further from the canvas than it is wide.
        Firefox measures a held pointer's movement from the middle of the page
        instead, so there the mouse goes out from the middle and back (a move
        to the middle itself is no movement, and no event)."""
        width, height = self._view
        if self.browser.version.startswith("firefox") and self.pointer_held():
            start = (width // 2, height // 2)
            self._mouse = start
            self.browser.call(("mouse.move", self._on_page(start[0] + dx, start[1] + dy)),
                              ("mouse.move", list(start)))
            return
        self._mouse = tuple(self._on_page(self._mouse[0] + dx, self._mouse[1] + dy))
        self.browser.call(("mouse.move", list(self._mouse)))

    def _on_page(self, x: float, y: float) -> list[float]:
        return [min(max(x, 0), self._view[0] - 1), min(max(y, 0), self._view[1] - 1)]

    def click(self, button: int = 1) -> None:
        """A quick click, press and release together, as a touchpad's tap: the
        release may come before the game has even seen the press."""
        options = {"button": BUTTONS[button]}
        self.browser.call(("mouse.down", [options]), ("mouse.up", [options]))

    def touch(self, kind: str, x: int = 0, y: int = 0) -> None:
        """A finger at a place in the window: kind is tap, touchStart,
        touchMove or touchEnd."""
        self.browser.call((f"touchscreen.{kind}",
                           [] if kind == "touchEnd" else list(self.in_window_point(x, y))))

    def in_window_point(self, x: int, y: int) -> tuple[float, float]:
        return self._page_point(WINDOW_X + x, WINDOW_Y + y)

    def pointer_held(self) -> bool:
        return bool(self.evaluate("document.pointerLockElement === document.getElementById('canvas')"))

    # ----- the screen -------------------------------------------------------------

    def screenshot(self, x: float, y: float, w: float, h: float) -> Image.Image:
        shot = self.browser.call(("screenshot", [{
            "encoding": "base64", "clip": {"x": x, "y": y, "width": w, "height": h}}]))
        with Image.open(io.BytesIO(base64.b64decode(shot))) as picture:
            return picture.convert("RGB")

    def grab(self, rect: Rect) -> Image.Image:
        if self._canvas_box[2] == WINDOW_WIDTH:
            x, y = self._page_point(rect.x, rect.y)
            return self.screenshot(x, y, rect.w, rect.h)
        # Shown smaller, the canvas still holds the window's pixels (SDL's
        # software renderer draws them there with putImageData).
        url = self.evaluate(f"""(() => {{
            const copy = document.createElement('canvas');
            copy.width = {rect.w}; copy.height = {rect.h};
            copy.getContext('2d').putImageData(document.getElementById('canvas')
                .getContext('2d').getImageData({rect.x - WINDOW_X}, {rect.y - WINDOW_Y},
                                               {rect.w}, {rect.h}), 0, 0);
            return copy.toDataURL(); }})()""")
        with Image.open(io.BytesIO(base64.b64decode(url.split(",", 1)[1]))) as picture:
            return picture.convert("RGB")

    def save_screen(self, label: str) -> Path:
        path = self.artifacts / f"screen-{label}.png"
        try:
            size = self.evaluate("[innerWidth, innerHeight]")
            self.screenshot(0, 0, *size).save(path)
        except Exception as problem:  # the browser may be gone already
            log(f"could not save {path}: {problem}")
        return path
