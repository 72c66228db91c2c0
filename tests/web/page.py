"""The game's page in headless Chromium, played as the desktop cases play the
game under Xvfb.

PageSession is the desktop tests' Session (vomba_desktop) with the browser in
place of the X server: the canvas stands where the desktop window opens, at
(WINDOW_X, WINDOW_Y) on a screen of its own, so every picture, wait, step and
place of the desktop tests (vomba_desktop.steps, vomba_desktop.match)
works on the page unchanged.
The mouse is Chromium's (the DevTools protocol's Input domain), screen grabs
are screenshots of the canvas, and the page's ending (web/page.js records its
exit code) stands for the game process's.

Besides, the session keeps what the page says and fetches: every console
error and uncaught exception, and every request for anything but the site on
127.0.0.1. `expect_clean` fails the case on either.
"""

from __future__ import annotations

import base64
import io
import time
from pathlib import Path
from typing import Optional

from PIL import Image

from chromium import Chromium, SiteServer
from vomba_desktop import CaseFailed, log
from vomba_desktop.screen import Rect
from vomba_desktop.session import POLL_INTERVAL_S, Session
from vomba_desktop.values import WINDOW_X, WINDOW_Y

LOAD_TIMEOUT_S = 60.0
WAIT_LOG_LENGTH = 100_000


def _instruments(factor: float) -> str:
    """What the page is watched with, from outside the game.

    Every wait the game asks of the page is logged (its frame waits, as
    bench/delay_probe.cpp sees them on the desktop) and shortened `factor`
    times: the game plays per frame, and its frames wait in setTimeout, so at a
    factor above 1 a whole match passes in a fraction of its time.  And the
    event, if any, during which the page made its audio is noted: the strictest
    browsers start sound only from within the handler of a player's click."""
    return (f"(() => {{ const realTimeout = window.setTimeout; window.vombaWaits = [];"
            f" window.setTimeout = (f, ms, ...rest) => {{"
            f" if (window.vombaWaits.length < {WAIT_LOG_LENGTH})"
            f" window.vombaWaits.push([performance.now(), ms || 0]);"
            f" return realTimeout(f, (ms || 0) / {factor}, ...rest); }};"
            f" const RealAudio = window.AudioContext;"
            f" window.AudioContext = class extends RealAudio {{ constructor(...args) {{"
            f" super(...args); window.vombaAudioMadeIn = window.event ? window.event.type : null;"
            f" }} }}; }})();")


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
    def __init__(self, site: Path, game_dir: Path, artifacts: Path, time_warp: float = 1.0,
                 renderer: str = "default"):
        # No X server: the page is shown by the browser alone.
        self.game_dir = Path(game_dir).resolve()
        self.artifacts = Path(artifacts)
        self.artifacts.mkdir(parents=True, exist_ok=True)
        self.game: Optional[PageGame] = None
        self.console_errors: list[str] = []
        self.warnings: list[str] = []
        self.outside_requests: list[str] = []
        self._mouse = (0.0, 0.0)  # where Chromium's mouse is, in page pixels
        self._canvas_origin = (0.0, 0.0)
        self.server = SiteServer(Path(site))
        self.browser = Chromium(self.artifacts / "chromium.log")
        try:
            self.browser.listen(self._hear)
            target = self.browser.send("Target.createTarget", {"url": "about:blank"})
            self.page = self.browser.send("Target.attachToTarget",
                                          {"targetId": target["targetId"], "flatten": True}
                                          )["sessionId"]
            for domain in ("Page", "Runtime", "Network", "Log"):
                self.command(f"{domain}.enable")
            self.command("Page.addScriptToEvaluateOnNewDocument",
                         {"source": _instruments(time_warp)})
            if renderer != "default":
                # As SDL_RENDER_DRIVER in a desktop's environment; the page's
                # environment is the loader's ENV.
                self.command("Page.addScriptToEvaluateOnNewDocument", {"source": (
                    "window.Module = {preRun: [() => { ENV.SDL_RENDER_DRIVER = "
                    f"'{renderer}'; }}]}};")})
        except Exception:
            self.close_all()
            raise
        log(f"Chromium {self.browser.process.pid}, site at {self.server.origin}, renderer "
            f"{renderer}" + (f", timers {time_warp:g} times faster" if time_warp != 1.0 else ""))

    # ----- life cycle -------------------------------------------------------

    def close_all(self) -> None:
        self.browser.close()
        self.server.close()

    def command(self, method: str, params: Optional[dict] = None) -> dict:
        return self.browser.send(method, params, session=self.page)

    def evaluate(self, expression: str):
        reply = self.command("Runtime.evaluate", {"expression": expression, "returnByValue": True})
        if "exceptionDetails" in reply:
            raise CaseFailed(f"{expression}: {reply['exceptionDetails'].get('text')}")
        return reply["result"].get("value")

    def _hear(self, message: dict) -> None:
        method, params = message.get("method"), message.get("params", {})
        if method == "Runtime.consoleAPICalled":
            text = " ".join(str(a.get("value", a.get("description", ""))) for a in params["args"])
            (self.console_errors if params["type"] in ("error", "assert") else
             self.warnings).append(text)
        elif method == "Runtime.exceptionThrown":
            details = params["exceptionDetails"]
            self.console_errors.append(details.get("exception", {}).get("description")
                                       or details.get("text", "an exception"))
        elif method == "Log.entryAdded" and params["entry"]["level"] == "error":
            self.console_errors.append(params["entry"]["text"])
        elif method == "Network.requestWillBeSent":
            url = params["request"]["url"]
            if not url.startswith(self.server.origin + "/"):
                self.outside_requests.append(url)

    def open_page(self) -> None:
        """Load the page and wait for the canvas; the game starts by itself."""
        self.command("Page.navigate", {"url": self.server.origin + "/"})
        deadline = time.monotonic() + LOAD_TIMEOUT_S
        while self.evaluate("document.readyState") != "complete":
            if time.monotonic() > deadline:
                raise CaseFailed(f"the page did not load within {LOAD_TIMEOUT_S:.0f} s")
            self.browser.pump(POLL_INTERVAL_S)
        box = self.evaluate("(() => { const r = document.getElementById('canvas')"
                            ".getBoundingClientRect(); return [r.x, r.y, r.width, r.height]; })()")
        self._canvas_origin = (box[0], box[1])
        self.game = PageGame(self)
        log(f"page loaded; canvas at ({box[0]:g}, {box[1]:g}), {box[2]:g} x {box[3]:g}")

    def expect_clean(self) -> None:
        """No console error, no exception, and nothing fetched from elsewhere."""
        self.browser.pump(0.1)
        problems = [f"console error: {e}" for e in self.console_errors]
        problems += [f"request beyond 127.0.0.1: {url}" for url in self.outside_requests]
        if problems:
            raise CaseFailed("; ".join(problems))
        log(f"no console error; the site served {sorted(set(self.server.requested))}")

    def stderr(self) -> str:
        return "\n".join(self.warnings)

    # ----- the mouse: screen places are the desktop's, the canvas the window ----

    def _page_point(self, x: float, y: float) -> tuple[float, float]:
        return (self._canvas_origin[0] + x - WINDOW_X,
                self._canvas_origin[1] + y - WINDOW_Y)

    def _mouse_event(self, kind: str, button: str = "none", buttons: int = 0) -> tuple:
        x, y = self._mouse
        return ("Input.dispatchMouseEvent", {"type": kind, "x": x, "y": y, "button": button,
                                             "buttons": buttons, "clickCount": 1})

    def move(self, x: int, y: int) -> None:
        self._mouse = self._page_point(x, y)
        self.command(*self._mouse_event("mouseMoved"))

    def move_relative(self, dx: int, dy: int) -> None:
        """What a held pointer hears: the movement from the last place."""
        self._mouse = (self._mouse[0] + dx, self._mouse[1] + dy)
        self.command(*self._mouse_event("mouseMoved"))

    def click(self, button: int = 1) -> None:
        """A quick click, press and release together, as a touchpad's tap: the
        release may come before the game has even seen the press."""
        name, mask = {1: ("left", 1), 2: ("middle", 4), 3: ("right", 2)}[button]
        self.browser.send_together([self._mouse_event("mousePressed", name, mask),
                                    self._mouse_event("mouseReleased", name, 0)], self.page)

    def pointer_held(self) -> bool:
        return bool(self.evaluate("document.pointerLockElement === document.getElementById('canvas')"))

    # ----- the screen -------------------------------------------------------------

    def screenshot(self, x: float, y: float, w: float, h: float) -> Image.Image:
        shot = self.command("Page.captureScreenshot", {
            "format": "png", "clip": {"x": x, "y": y, "width": w, "height": h, "scale": 1}})
        with Image.open(io.BytesIO(base64.b64decode(shot["data"]))) as picture:
            return picture.convert("RGB")

    def grab(self, rect: Rect) -> Image.Image:
        x, y = self._page_point(rect.x, rect.y)
        return self.screenshot(x, y, rect.w, rect.h)

    def save_screen(self, label: str) -> Path:
        path = self.artifacts / f"screen-{label}.png"
        try:
            size = self.evaluate("[innerWidth, innerHeight]")
            self.screenshot(0, 0, *size).save(path)
        except Exception as problem:  # the browser may be gone already
            log(f"could not save {path}: {problem}")
        return path
