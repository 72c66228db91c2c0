"""The game's page (make web) as a player meets it in a browser: Debian's
Chromium or Firefox ESR, headless, without any flag that loosens its rules
for sound or the pointer, the site served on 127.0.0.1.

  site_files  what is served: the page's own files, and in the .data the
              game's 36 files byte for byte as the desktop build made them
  title       the page around the canvas (its policy, its manifest), and the
              title picture on it pixel-exact
  play        the click that starts the game also starts its sound and holds
              the pointer; the intro, the court, the creature following the
              mouse, a click's pause and resume, and the browser's own Escape
              pausing the game; the frame period, measured, not asserted
  match       two whole matches, timers ten times faster: the end-of-match
              display, WEITER starting a fresh match at 0:0 with the pointer
              held again, and ENDE leaving a quiet end screen
  phone       a phone by touch: the canvas fits upright and sideways with no
              sideways scroll; a tap starts the game and its sound, a finger
              dragged steers the creature within its limits, a tap pauses and
              another plays on
  offline     loaded once, the network gone (the server stopped), loaded
              again: the title and play, from the service worker's files

Every browser case also fails on a console error or a request for anything
beyond the site.  Pictures, places and steps come from the desktop tests
(vomba_desktop, whose match module watches a whole match and pictures it), whose
session the page session stands in for.
"""

from __future__ import annotations

import argparse
import hashlib
import re
import shutil
import statistics
import sys
import time
import traceback
from pathlib import Path

from page import PHONE, PageSession
from vomba_desktop import CaseFailed, log, pictures, steps, values
from vomba_desktop import match as whole_match
from vomba_desktop.screen import Rect
from vomba_desktop.session import START_TIMEOUT_S

SITE_FILES = {"index.html", "page.css", "favicon.png", "icon-192.png", "icon-512.png",
              "manifest.webmanifest", "service-worker.js", "vombapong.js", "vombapong.wasm",
              "vombapong.data"}
GAME_FILE_COUNT = 36
MATCH_TIME_WARP = 10.0
# A frame's own wait: 30 ms less the time its events took; the intro waits in
# shorter pieces, and SDL's wait for events in 1 ms steps.
FRAME_WAIT_MIN_MS = 25
PACE_SAMPLE_S = 3.0
PUSH = values.PUSH
PAUSED_MOUSE = (340, 240)  # where the free pointer rests over the court, and clicks


# ----- what is served ---------------------------------------------------------------

def packed_files(site: Path) -> dict[str, bytes]:
    """The files in the .data, by name, as the loader's table places them."""
    loader = (site / "vombapong.js").read_text()
    data = (site / "vombapong.data").read_bytes()
    table = re.findall(r'"filename":\s*"/([^"]+)",\s*"start":\s*(\d+),\s*"end":\s*(\d+)', loader)
    return {name: data[int(start):int(end)] for name, start, end in table}


def site_files(site: Path, game_dir: Path) -> None:
    served = {path.name for path in site.iterdir()}
    if served != SITE_FILES:
        raise CaseFailed(f"the site holds {sorted(served)}, expected {sorted(SITE_FILES)}")
    packed = packed_files(site)
    desktop = {path.name: path.read_bytes() for path in game_dir.iterdir()
               if path.suffix in (".bmp", ".wav")}
    if len(desktop) != GAME_FILE_COUNT or set(packed) != set(desktop):
        raise CaseFailed(f"the .data holds {len(packed)} files and the desktop build's folder "
                         f"{len(desktop)}: only in the .data {sorted(set(packed) - set(desktop))}, "
                         f"missing there {sorted(set(desktop) - set(packed))}")
    differing = [name for name in sorted(packed)
                 if hashlib.sha256(packed[name]).digest() != hashlib.sha256(desktop[name]).digest()]
    if differing:
        raise CaseFailed(f"these files differ from the desktop build's: {differing}")
    log(f"the .data carries the {len(packed)} files of {game_dir}, sha256 for sha256")


# ----- the page and its title ----------------------------------------------------

def title(s: PageSession) -> None:
    s.open_page()
    window = values.GAME_FACTS["window"]
    facts = s.evaluate("""(() => {
        const canvas = document.getElementById('canvas').getBoundingClientRect();
        const icon = document.querySelector('link[rel=icon]');
        const away = [...document.querySelectorAll('[src], [href]')]
            .map(e => e.src || e.href).filter(u => !u.startsWith(location.origin + '/'));
        const policy = document.querySelector('meta[http-equiv=Content-Security-Policy]');
        return {title: document.title, icon: icon && icon.href, away: away,
                policy: policy && policy.content,
                manifest: document.querySelector('link[rel=manifest]').href,
                links: document.querySelectorAll('a').length,
                canvas: [canvas.x, canvas.y, canvas.width, canvas.height],
                view: [innerWidth, innerHeight]};
    })()""")
    log(f"the page: {facts}")
    if facts["title"] != window["title"]:
        raise CaseFailed(f"page title {facts['title']!r}, expected the window's {window['title']!r}")
    if not facts["icon"] or not facts["icon"].endswith("/favicon.png"):
        raise CaseFailed(f"the page's icon is {facts['icon']!r}, not the game's favicon.png")
    if facts["links"] or facts["away"]:
        raise CaseFailed(f"the page links away: {facts['links']} links, {facts['away']}")
    if not (facts["policy"] or "").startswith("default-src 'self';"):
        raise CaseFailed(f"the page's policy {facts['policy']!r} does not hold it to its own files")
    manifest = s.evaluate(f"fetch({facts['manifest']!r}).then(r => r.json())")
    if manifest["name"] != window["title"] or len(manifest["icons"]) < 2:
        raise CaseFailed(f"the manifest names {manifest['name']!r} with {manifest['icons']}")
    x, y, w, h = facts["canvas"]
    if [w, h] != window["size"] or abs(x + w / 2 - facts["view"][0] / 2) > 1:
        raise CaseFailed(f"the canvas is {w} x {h} at x {x}, not {window['size']} centred in "
                         f"a page {facts['view'][0]} wide")
    s.wait_until_matches(s.window_rect(), s.picture("Start.bmp"), "title picture",
                         timeout=START_TIMEOUT_S, tolerance=0, max_fraction=0)
    s.expect_clean()


# ----- playing ----------------------------------------------------------------------

def start_playing(s: PageSession, by_finger: bool = False) -> None:
    """From the title, one click (or tap): the sound runs, the court comes, and
    the pointer is held for a mouse."""
    if s.game is None:
        s.open_page()
    s.wait_until_matches(s.window_rect(), s.picture("Start.bmp"), "title picture",
                         timeout=START_TIMEOUT_S)
    if s.evaluate("!!(Module.SDL2 && Module.SDL2.audioContext)"):
        raise CaseFailed("the page has its audio before the player clicked")
    if by_finger:
        # The creature comes where the finger was: into the top-left corner.
        s.touch("tap", 0, 0)
        s.wait_until_matches(s.window_rect(), s.picture("pong.bmp"), "court", ignore=(
            *values.FRAME_LOOP_DRAWS, Rect(0, 0, values.PADDLE_W, values.PADDLE_H)))
    else:
        steps.click_past_title(s)
    gesture = "touchend" if by_finger else "mousedown"
    state, made_in = s.evaluate("[Module.SDL2 && Module.SDL2.audioContext &&"
                                " Module.SDL2.audioContext.state, window.vombaAudioMadeIn]")
    if state == "suspended" and s.browser.version.startswith("firefox"):
        log("Firefox has no sound device on this machine, so its audio waits 'suspended' "
            "however it was started; only that it was made within the gesture is checked")
        state = "running"
    if state != "running" or made_in != gesture:
        raise CaseFailed(f"the game's audio is {state!r} after the title {gesture}, made during "
                         f"{made_in or 'no event'}: not started within the gesture")
    log(f"the title's {gesture} started the audio")
    steps.require_frame_loop(s)
    if not by_finger and not s.pointer_held():
        raise CaseFailed("the pointer is not held when play starts")
    log("play started with no click of its own" + ("" if by_finger else ", the pointer held"))


def push_creature(s: PageSession, push: tuple[int, int], at: tuple[int, int], what: str) -> None:
    """Push the mouse against a clamp until the creature stands at `at`: a
    movement sent while the browser is still taking hold of the pointer is
    lost, as a player's would be, so pushing again is only what a player does."""
    expected = steps.paddle_picture(s, at)
    rect = s.in_window(at[0], at[1], values.PADDLE_W, values.PADDLE_H)

    def there() -> bool:
        s.move_relative(*push)
        if pictures.compare_images(s.grab(rect), expected, what, max_fraction=0.01).ok:
            return True
        # A mouse at the page's edge moves no further: step back for the next push.
        s.move_relative(-push[0] // 2, -push[1] // 2)
        return False
    s.wait_until(there, what, timeout=10.0)
    # The game reads the mouse once a frame's events are in, so a push still
    # queued would count with the next move: two frames on, every push is handled.
    frames = len(frame_period_ms(s))
    s.wait_until(lambda: len(frame_period_ms(s)) >= frames + 2, f"{what}: two frames on",
                 timeout=5.0)
    log(f"{what}: there")


def expect_playing(s: PageSession, what: str) -> None:
    """The pointer is held and the creature answers the mouse, into both corners
    of its half: a game that still paused could stand in one of them at most."""
    s.wait_until(s.pointer_held, f"{what}: the pointer held", timeout=5.0)
    push_creature(s, (PUSH, PUSH), (240, 310), f"{what}: the creature at the bottom-right clamp")
    push_creature(s, (-PUSH, -PUSH), (0, 0), f"{what}: the creature at the top-left clamp")


def expect_paused(s: PageSession, what: str) -> None:
    """The pointer is free and nothing on the court moves, not even the creature
    under the mouse that the player now moves over the court."""
    s.wait_until(lambda: not s.pointer_held(), f"{what}: the pointer free", timeout=5.0)
    still = s.wait_until_still(s.window_rect(), what, interval=0.3, timeout=10.0)
    s.move_in_window(*PAUSED_MOUSE)
    time.sleep(0.5)
    s.expect_matches(s.window_rect(), still, f"{what}, a moment later", tolerance=0,
                     max_fraction=0)


def frame_period_ms(s: PageSession) -> list[float]:
    """The periods between the frame waits the game asked of the page lately."""
    waits = s.evaluate("window.vombaWaits")
    starts = [at for at, ms in waits if ms >= FRAME_WAIT_MIN_MS]
    return [b - a for a, b in zip(starts, starts[1:])]


def play(s: PageSession) -> None:
    start_playing(s)
    expect_playing(s, "first play")
    s.move_relative(70, 55)  # from the clamped centre (30, 45) to (100, 100)
    steps.expect_paddle_at(s, (70, 55), "the creature centred on the mouse")
    court = s.picture("pong.bmp").crop((0, 0, values.PADDLE_W, values.PADDLE_H))
    s.wait_until_matches(s.in_window(0, 0, values.PADDLE_W, values.PADDLE_H), court,
                         "the court where the creature was", timeout=5.0, max_fraction=0.01)
    steps.move_mouse_to(s, values.SERVE_MOUSE)
    steps.wait_for_ball_in_flight(s)
    log("the creature served")

    before = len(frame_period_ms(s))
    time.sleep(PACE_SAMPLE_S)
    periods = frame_period_ms(s)[before:]
    log(f"frame period in the browser: median {statistics.median(periods):.1f} ms, mean "
        f"{statistics.fmean(periods):.1f} ms over {len(periods)} frames (30 ms wait plus drawing)")

    s.click(1)
    expect_paused(s, "paused by a click")
    s.click(1)
    expect_playing(s, "played on by a click")

    # The browser lets the pointer go on Escape. Headless Chromium does not act
    # on the key itself, so the page lets it go: the same event for the game.
    s.evaluate("document.exitPointerLock()")
    expect_paused(s, "paused by the browser letting the pointer go")
    s.click(1)
    expect_playing(s, "played on by a click after Escape")
    s.expect_clean()


# ----- a phone, by touch ----------------------------------------------------------

def expect_fit(s: PageSession, screen: dict, what: str) -> None:
    """The canvas at the largest size the screen holds, 3:2, centred, and
    nothing wider than the screen (a phone's page would widen to its content,
    so the screen's own width is the measure)."""
    width, height = values.WINDOW_WIDTH, values.WINDOW_HEIGHT
    view_w, view_h = screen["width"], screen["height"]
    x, y, w, h, scroll_w = s.evaluate("""(() => {
        const r = document.getElementById('canvas').getBoundingClientRect();
        return [r.x, r.y, r.width, r.height, document.documentElement.scrollWidth]; })()""")
    largest = min(width, view_w, view_h * width / height)
    log(f"{what}: the canvas {w:g} x {h:g} at ({x:g}, {y:g}) on a {view_w} x {view_h} screen, "
        f"the page {scroll_w} wide")
    if (abs(w - largest) > 1 or abs(h - w * height / width) > 1 or x < 0 or y < 0
            or y + h > view_h + 0.5 or abs(x + w / 2 - view_w / 2) > 1 or scroll_w > view_w):
        raise CaseFailed(f"{what}: expected the canvas {largest:g} wide, 3:2, centred, and no "
                         "sideways scroll")
    s.save_screen(what)


def steer(s: PageSession, path: list[tuple[int, int]], at: tuple[int, int], what: str,
          slack: int = 0) -> None:
    """A finger put down and dragged along `path` (window places); the creature
    then stands at `at`, give or take `slack` pixels: a finger lands on whole
    pixels of the page, which are not whole pixels of a window shown smaller."""
    s.touch("touchStart", *path[0])
    for place in path[1:]:
        s.touch("touchMove", *place)
    around = s.in_window(at[0] - slack, at[1] - slack, values.PADDLE_W + 2 * slack,
                         values.PADDLE_H + 2 * slack)
    offsets = [(dx, dy) for dx in range(2 * slack + 1) for dy in range(2 * slack + 1)]

    def there() -> bool:
        shot = s.grab(around)
        return any(pictures.compare_images(
            shot.crop((dx, dy, dx + values.PADDLE_W, dy + values.PADDLE_H)),
            steps.paddle_picture(s, (at[0] - slack + dx, at[1] - slack + dy)), what,
            max_fraction=0.01).ok for dx, dy in offsets)
    s.wait_until(there, what, timeout=10.0)
    log(f"{what}: there")
    s.touch("touchEnd")


def phone(s: PageSession) -> None:
    s.open_page()
    expect_fit(s, PHONE["viewport"], "upright")
    sideways = {**PHONE["viewport"], "width": PHONE["viewport"]["height"],
                "height": PHONE["viewport"]["width"]}
    s.browser.call(("setViewport", [sideways]))
    s.measure_canvas()
    expect_fit(s, sideways, "sideways")
    start_playing(s, by_finger=True)
    max_x, max_y = values.WINDOW_WIDTH - 1, values.WINDOW_HEIGHT - 1
    steer(s, [(100, 100), (300, 250), (max_x, max_y)], (240, 310),
          "dragged past the bottom right: the creature at its clamp")
    steer(s, [(400, 300), (200, 150), (0, 0)], (0, 0),
          "dragged past the top left: the creature at its clamp")
    steer(s, [(20, 20), (80, 100), (150, 150)], values.paddle_place((150, 150)),
          "dragged to (150, 150): the creature under the finger", slack=2)
    s.touch("tap", *values.PARK_MOUSE)
    expect_paused(s, "paused by a tap")
    s.touch("tap", 150, 150)
    steer(s, [(150, 150), (100, 200)], values.paddle_place((100, 200)),
          "played on by a tap, then dragged", slack=2)
    s.expect_clean()


# ----- without the network ---------------------------------------------------------

def offline(s: PageSession) -> None:
    s.open_page()
    kept = s.evaluate("""navigator.serviceWorker.ready.then(async () => {
        const names = await caches.keys();
        const cache = await caches.open(names[0]);
        return [names, (await cache.keys()).map(r => new URL(r.url).pathname)]; })""")
    log(f"the service worker keeps {kept}")
    if len(kept[0]) != 1 or not kept[0][0].startswith("vombapong-") or \
            {"/" + name for name in SITE_FILES - {"service-worker.js"}} - set(kept[1]):
        raise CaseFailed(f"the service worker keeps {kept}, not the whole site")
    s.server.close()
    log("the server is stopped: the network is gone")
    s.open_page(reload=True)
    start_playing(s)
    s.expect_clean()


# ----- whole matches ------------------------------------------------------------------

def fresh_match_shown(s: PageSession, sheet: whole_match.Sheet) -> bool:
    fresh = whole_match.fresh_match(s, sheet)
    return all(whole_match.compare_known(whole_match.grab_rect(s, rows), fresh.crop(rows),
                                        "fresh match", 0.002).ok
               for rows in (whole_match.TOP_ROWS, whole_match.BUTTON_ROWS))


def expect_match_end(s: PageSession, sheet: whole_match.Sheet, number: int) -> None:
    whole_match.play_to_the_end(s, sheet)
    if s.pointer_held():
        raise CaseFailed(f"match {number} is over, but the pointer is still held")


def match(s: PageSession) -> None:
    sheet = whole_match.Sheet(s)
    start_playing(s)
    steps.serve(s)
    steps.park(s)
    expect_match_end(s, sheet, 1)

    whole_match.click_at(s, whole_match.WEITER_CLICK)
    s.wait_until(lambda: fresh_match_shown(s, sheet), "a fresh court at 0:0 after WEITER",
                 timeout=15.0)
    s.wait_until(s.pointer_held, "the pointer held again after WEITER", timeout=5.0)
    log("WEITER: a fresh court at 0:0, the pointer held")
    # The parked creature stands over the serve place: the new match serves itself.
    expect_match_end(s, sheet, 2)

    whole_match.click_at(s, whole_match.ENDE_CLICK)
    s.wait_until(lambda: s.game.poll() is not None, "the game ends after ENDE")
    end = s.evaluate("[document.getElementById('canvas').hidden,"
                     " document.getElementById('end').textContent]")
    if s.game.poll() != 0 or not end[0] or "Thanks for playing" not in end[1]:
        raise CaseFailed(f"after ENDE: exit code {s.game.poll()}, canvas hidden {end[0]}, "
                         f"the page says {end[1]!r}")
    log(f"after ENDE the page says {end[1]!r}")
    s.expect_clean()


# ----- running ------------------------------------------------------------------------

# The browser's WebGL renderer where a player's browser has it, SDL's software
# renderer where it has none (the match, where it also draws faster here).
# The phone's canvas is shown smaller than its pixels, which are read from
# SDL's software renderer's 2D canvas.
BROWSER_CASES = {"title": (title, 1.0, "default", None), "play": (play, 1.0, "default", None),
                 "match": (match, MATCH_TIME_WARP, "software", None),
                 "phone": (phone, 1.0, "software", PHONE),
                 "offline": (offline, 1.0, "default", None)}


def main() -> int:
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--site", required=True, type=Path, help="the built site (make web)")
    parser.add_argument("--game-dir", required=True, type=Path,
                        help="the desktop build's game folder, for its pictures and files")
    parser.add_argument("--case", required=True, choices=["site_files", *BROWSER_CASES])
    parser.add_argument("--browser", choices=["chromium", "firefox"], default="chromium")
    parser.add_argument("--artifacts", required=True, type=Path)
    args = parser.parse_args()
    artifacts = args.artifacts / (args.case if args.case == "site_files"
                                  else f"{args.case}-{args.browser}")
    shutil.rmtree(artifacts, ignore_errors=True)
    artifacts.mkdir(parents=True)
    if not (args.site / "index.html").exists():
        print(f"no site at {args.site}: make web builds it (make test does)", file=sys.stderr)
        return 1
    started = time.monotonic()
    try:
        if args.case == "site_files":
            site_files(args.site, args.game_dir)
        else:
            case, warp, renderer, device = BROWSER_CASES[args.case]
            with PageSession(args.site, args.game_dir, artifacts, args.browser, warp, renderer,
                             device) as session:
                case(session)
    except Exception as failure:
        if not isinstance(failure, CaseFailed):
            traceback.print_exc()
        log(f"case {args.case}: FAILED after {time.monotonic() - started:.1f} s: {failure}")
        log(f"artifacts in {artifacts}")
        return 1
    log(f"case {args.case}: passed in {time.monotonic() - started:.1f} s")
    return 0


if __name__ == "__main__":
    sys.exit(main())
