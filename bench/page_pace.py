"""The page beside the desktop in `make bench`: the frame period in play and
the own work of a frame, measured one after the other on the same machine for
the desktop build under Xvfb, the page in headless Chromium and the page in
headless Firefox.

The desktop's frames come from the delay probe, as the rest of the bench reads
them: a frame is the start of one frame wait to the start of the next, and its
own work is that less the time the wait slept. The page's come from
page_pace.js, which logs the page's timers: there a frame's own work runs from
the callback of one frame wait to the next frame wait, and includes any
zero-length timeout by which the frame handed the browser its turn (a yield),
shown apart. The play is the same: a click on the title, the intro, the
creature pushed to the top-left clamp, moved over the ball to serve it and
parked where it returns every ball.
"""

from __future__ import annotations

import json
import statistics
import subprocess
import time
from dataclasses import dataclass
from pathlib import Path

from measuring import percentile
from scenarios import CONFIGS, SETTLE_S, probe_env, start_play
from vomba_desktop import log
from vomba_desktop.delay_probe import read_delays
from vomba_desktop.session import Session

DRIVER = Path(__file__).resolve().parent / "page_pace.js"
BROWSERS = ("chromium", "firefox")
FRAME_WAIT_MIN_MS = 25
# The page plays at the desktop's pace when its median frame is this close.
TARGET_PAGE_OVER_DESKTOP = 0.05
DRIVER_SLACK_S = 120.0  # the browser's start, the title and the intro


@dataclass
class Pace:
    where: str  # desktop, chromium, firefox
    drawn_by: str  # the renderer or the page's drawing context
    periods: list[float]
    works: list[float]
    yields: list[float]  # zero-length timeouts within each frame (the page only)


def summary(values: list[float]) -> str:
    ordered = sorted(values)
    return (f"median {statistics.median(ordered):.2f}, mean {statistics.fmean(ordered):.2f}, "
            f"p10-p90 {percentile(ordered, 0.1):.2f}-{percentile(ordered, 0.9):.2f}, "
            f"p99 {percentile(ordered, 0.99):.2f} ms")


# ----- the desktop build -----------------------------------------------------------

def desktop_pace(game_dir: Path, probe: Path, seconds: float, workdir: Path) -> Pace:
    config = CONFIGS[0]
    delay_log = workdir / "page-beside-desktop-delays.txt"
    with Session(game_dir, workdir / "page-beside-desktop", "default") as s:
        s.start_game(extra_env=probe_env(config, probe, delay_log), audio_driver="dummy")
        win = start_play(s)
        time.sleep(SETTLE_S)
        started = time.monotonic_ns()
        time.sleep(seconds)
        ended = time.monotonic_ns()
        s.close(win)
        s.expect_exit(0)
    waits = [d for d in read_delays(delay_log) if started <= d.start_ns <= ended]
    periods, works = [], []
    for wait, following in zip(waits, waits[1:]):
        if wait.asked_ms < FRAME_WAIT_MIN_MS or following.asked_ms < FRAME_WAIT_MIN_MS:
            continue
        period = (following.start_ns - wait.start_ns) / 1e6
        periods.append(period)
        works.append(period - wait.slept_ns / 1e6)
    return Pace("desktop", config.key, periods, works, [])


# ----- the page --------------------------------------------------------------------

def page_pace(site: Path, browser: str, seconds: float) -> Pace:
    done = subprocess.run(["node", str(DRIVER), "--browser", browser, "--site", str(site),
                           "--seconds", str(seconds)],
                          capture_output=True, text=True, timeout=seconds + DRIVER_SLACK_S)
    if done.returncode != 0:
        raise RuntimeError(f"the page in {browser} was not measured: {done.stderr.strip()}")
    result = json.loads(done.stdout.splitlines()[-1])
    frames = result["frames"]
    if not frames:
        raise RuntimeError(f"no frame of play was seen in {browser}")
    log(f"{browser} ({result['version']}): {len(frames)} frames, drawn through "
        f"{result['context']}")
    return Pace(browser, f"{result['context']} canvas", [f[0] for f in frames],
                [f[1] for f in frames], [f[2] for f in frames])


# ----- together --------------------------------------------------------------------

def measure_page_beside_desktop(game_dir: Path, probe: Path, site: Path, seconds: float,
                                workdir: Path) -> list[Pace]:
    for needed in (site / "index.html", probe):
        if not needed.exists():
            raise RuntimeError(f"{needed} is missing; build first (make build web)")
    log("--- the page beside the desktop ---")
    return [desktop_pace(game_dir, probe, seconds, workdir),
            *(page_pace(site, browser, seconds) for browser in BROWSERS)]


def page_rows(paces: list[Pace]) -> list[tuple[str, str, str, str]]:
    desktop = statistics.median(paces[0].periods)
    rows = []
    for pace in paces:
        where = f"{pace.where}, {pace.drawn_by}"
        if pace is paces[0]:
            target, verdict = "reference", ""
        else:
            ratio = statistics.median(pace.periods) / desktop - 1.0
            target = f"median within {TARGET_PAGE_OVER_DESKTOP:.0%} of the desktop's {desktop:.2f}"
            verdict = f"{ratio:+.1%}, " + ("met" if abs(ratio) <= TARGET_PAGE_OVER_DESKTOP
                                            else "not met")
        rows.append((f"Frame period in play [{where}]",
                     f"{summary(pace.periods)} ({len(pace.periods)} frames)", target, verdict))
        work = f"{summary(pace.works)}"
        if pace.yields:
            work += (f"; of which handed to the browser (zero-length timeouts) median "
                     f"{statistics.median(pace.yields):.2f} ms")
        rows.append((f"  own work per frame [{pace.where}]", work, "", ""))
    return rows
