"""Scenarios of `make bench`: what is run in the X server and measured, one
configuration (renderer) at a time.

1. the floor program (bench/floor.cpp), for its CPU use and its frame period;
2. the game up to its title picture, for the start-up time and the memory
   it took to get there; also the default start beside a start on SDL's
   software renderer chosen outright, alternating;
3. the game played from outside with a parked paddle: CPU in play, CPU
   paused (a click), play resumed until a side reaches 10, CPU at the
   end-of-match display, the memory, and the frame periods of all the play;
4. the Google Benchmark program (bench/frame_bench.cpp): one frame of the
   game's own frame loop without its wait, and one present.

The player's creature watched while it moves is creature.py's.
"""

from __future__ import annotations

import json
import os
import re
import signal
import subprocess
import time
from dataclasses import dataclass, field
from pathlib import Path
from typing import Optional

from measuring import CpuSample, Periods, measure_cpu, read_periods, status_kb
from vomba_desktop import log, windows
from vomba_desktop.delay_probe import preload_env
from vomba_desktop.pictures import compare_images
from vomba_desktop.screen import Rect
from vomba_desktop.session import START_TIMEOUT_S, Session
from vomba_desktop.steps import click_past_title, park, pointer_held, require_frame_loop, serve
from vomba_desktop.values import GAME_EXECUTABLE, WINDOW_TITLE, WINDOW_WIDTH, WINDOW_X, WINDOW_Y

SETTLE_S = 2.0  # after a change of state, before a measurement starts
TITLE_RUNS = 5
MIN_FRAMES = 1000
MATCH_END_GIVE_UP_S = 600.0
MICROBENCH_OPTIONS = ["--benchmark_min_time=0.2", "--benchmark_repetitions=5",
                      "--benchmark_report_aggregates_only=true", "--benchmark_format=json"]


@dataclass(frozen=True)
class Config:
    key: str
    title: str  # as the table names it
    env: dict
    whole_match: bool  # played to 10 for the end-of-match display
    paused: bool = True  # the pause measured


# "default" is the renderer the game picks by itself: under Xvfb, as on any
# machine without a graphics card, SDL's software renderer in place of OpenGL on
# Mesa's software rasteriser. "opengl" keeps OpenGL, chosen the way a player
# would choose it, as a machine with a graphics card draws.
CONFIGS = (
    Config("default", "default: the renderer the game picks", {}, True),
    Config("opengl", "opengl: chosen with SDL_RENDER_DRIVER", {"SDL_RENDER_DRIVER": "opengl"},
           True),
)
# The lightest start there is: what the default start is held against on a
# machine without a graphics card.
SOFTWARE_START = Config("software", "software: chosen with SDL_RENDER_DRIVER",
                        {"SDL_RENDER_DRIVER": "software"}, False)


# ----- running programs in the X server --------------------------------------------

def idle_text(sample: CpuSample) -> str:
    return (f"main thread {sample.main:.3f} % and {sample.main_wakeups:.2f} wake-ups/s; other "
            f"threads ({sample.others_names}) {sample.others:.2f} % and "
            f"{sample.others_wakeups:.1f} wake-ups/s; process {sample.process:.2f} %, "
            f"X server {sample.xserver:.2f} %, load {sample.load:.2f}")


def program_env(s: Session, config: Config, probe: Optional[Path] = None,
                delay_log: Optional[Path] = None) -> dict:
    env = dict(s.env, SDL_AUDIODRIVER="dummy")
    for key in ("SDL_RENDER_DRIVER", "SDL_FRAMEBUFFER_ACCELERATION", "LD_PRELOAD"):
        env.pop(key, None)
    env.update(config.env)
    if probe is not None and delay_log is not None:
        env.update(preload_env(probe, delay_log))
    return env


def probe_env(config: Config, probe: Path, delay_log: Path) -> dict:
    return dict(config.env, **preload_env(probe, delay_log))


@dataclass
class FloorResult:
    renderer_name: str = ""
    sdl_version: str = ""
    cpu: Optional[CpuSample] = None
    periods: Periods = field(default_factory=Periods)


def run_floor(s: Session, floor: Path, probe: Path, config: Config, seconds: float,
              workdir: Path) -> FloorResult:
    delay_log = workdir / f"floor-delays-{config.key}.txt"
    proc = subprocess.Popen([str(floor)], env=program_env(s, config, probe, delay_log),
                            stdout=subprocess.PIPE, text=True, start_new_session=True)
    try:
        first = proc.stdout.readline().split()  # "renderer NAME sdl X.Y.Z"
        if len(first) < 4:
            raise RuntimeError(f"the floor program did not start: {first}")
        result = FloorResult(first[1], first[3])
        time.sleep(SETTLE_S)
        started = time.monotonic_ns()
        result.cpu = measure_cpu(proc.pid, s.xserver.process.pid, seconds)
        result.periods = read_periods(delay_log, started, time.monotonic_ns())
        log(f"floor ({result.renderer_name}): {result.cpu.process:.2f} % of a core, X server "
            f"{result.cpu.xserver:.2f} %, period mean {result.periods.mean:.2f} ms")
    finally:
        proc.send_signal(signal.SIGTERM)  # SDL turns it into a quit
        try:
            proc.wait(timeout=10)
        except subprocess.TimeoutExpired:
            proc.kill()
            proc.wait()
    return result


# ----- start-up time -----------------------------------------------------------------

@dataclass(frozen=True)
class TitleStart:
    mapped_ms: float  # from launch to the window mapped
    shown_ms: float  # from launch to the title on screen
    peak_mb: float  # the process's peak memory (VmHWM) when the title was seen


def start_to_title(s: Session, config: Config) -> TitleStart:
    """One start of the game, up to its title picture on screen.

    The title counts as shown when a strip across the window's middle matches
    Start.bmp; it is grabbed every few milliseconds.  Once seen, the game is
    killed: a quit from the title screen would still sit out the intro.
    """
    strip = Rect(WINDOW_X, WINDOW_Y + 180, WINDOW_WIDTH, 40)
    expected = s.picture("Start.bmp").crop((0, 180, WINDOW_WIDTH, 220))
    exe = s.game_dir / GAME_EXECUTABLE
    started = time.monotonic()
    proc = subprocess.Popen([str(exe)], cwd=s.game_dir, env=program_env(s, config),
                            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                            start_new_session=True)
    mapped_ms = shown_ms = None
    try:
        deadline = started + START_TIMEOUT_S
        while shown_ms is None and time.monotonic() < deadline:
            if mapped_ms is None:
                if windows.mapped_with_title(s.d, lambda t: t == WINDOW_TITLE):
                    mapped_ms = (time.monotonic() - started) * 1000.0
                else:
                    time.sleep(0.001)
                    continue
            now = time.monotonic()
            if compare_images(s.grab(strip), expected, "title").ok:
                shown_ms = (now - started) * 1000.0
                peak_mb = status_kb(proc.pid, "VmHWM") / 1024.0
    finally:
        os.killpg(proc.pid, signal.SIGKILL)
        proc.wait()
    if shown_ms is None:
        raise RuntimeError("the title did not appear")
    return TitleStart(mapped_ms, shown_ms, peak_mb)


def alternating_starts(s: Session, first: Config, second: Config,
                       runs: int = TITLE_RUNS) -> tuple[list[TitleStart], list[TitleStart]]:
    """`runs` starts of each, taken in turn, so that a change in the machine's
    load falls on both alike."""
    starts: tuple[list[TitleStart], list[TitleStart]] = ([], [])
    for _ in range(runs):
        for config, taken in zip((first, second), starts):
            taken.append(start_to_title(s, config))
    for config, taken in zip((first, second), starts):
        log(f"{config.key}: title after {', '.join(f'{t.shown_ms:.0f}' for t in taken)} ms, "
            f"peak {', '.join(f'{t.peak_mb:.1f}' for t in taken)} MB")
    return starts


# ----- driving a match from outside -------------------------------------------------

def start_play(s: Session):
    """Click past the title, serve, and park the paddle where it serves every ball."""
    win = s.find_game_window()
    s.wait_until_matches(s.window_rect(), s.picture("Start.bmp"), "title picture")
    click_past_title(s)
    require_frame_loop(s)
    serve(s)
    park(s)
    return win


@dataclass
class GameResult:
    play: Optional[CpuSample] = None
    paused: Optional[CpuSample] = None
    ended: Optional[CpuSample] = None
    periods: Periods = field(default_factory=Periods)
    play_seconds: float = 0.0
    peak_rss_mb: float = 0.0
    rss_mb: float = 0.0  # resident at the end of the run
    anon_mb: float = 0.0
    file_mb: float = 0.0
    # The kernel keeps no peak of the anonymous part alone: the highest of the
    # readings taken at every stage and once a second of play.
    anon_peak_mb: float = 0.0
    notes: list[str] = field(default_factory=list)

    def read_anonymous(self, pid: int) -> None:
        self.anon_peak_mb = max(self.anon_peak_mb, status_kb(pid, "RssAnon") / 1024.0)


def run_game(s: Session, probe: Optional[Path], config: Config, seconds: float,
             workdir: Path) -> GameResult:
    """The played run. Without the probe (--idle) play is not measured: only
    the pause and the end-of-match display are."""
    result = GameResult()
    delay_log = workdir / f"game-delays-{config.key}.txt"
    env = probe_env(config, probe, delay_log) if probe else dict(config.env)
    s.start_game(extra_env=env, audio_driver="dummy")
    win = start_play(s)
    pid, xpid = s.game.pid, s.xserver.process.pid
    play_from = time.monotonic_ns()
    paused_for = 0.0
    pauses: tuple[tuple[int, int], ...] = ()
    result.read_anonymous(pid)

    if probe:
        time.sleep(SETTLE_S)
        result.play = measure_cpu(pid, xpid, seconds)
        result.read_anonymous(pid)
        if not pointer_held(s):
            result.notes.append("the match ended within the play measurement")
        log(f"in play: {result.play.process:.2f} % (main thread {result.play.main:.2f} %), "
            f"X server {result.play.xserver:.2f} %")

    if config.paused:
        pause_from = time.monotonic_ns()
        s.click(1)  # pause
        pause_began = time.monotonic()
        s.wait_until(lambda: not pointer_held(s), "the pause frees the pointer",
                     timeout=10.0)
        time.sleep(SETTLE_S)
        result.paused = measure_cpu(pid, xpid, seconds)
        result.read_anonymous(pid)
        log(f"paused: {idle_text(result.paused)}")
        s.move_in_window(300, 200)
        s.click(1)  # resume
        s.wait_until(lambda: pointer_held(s), "play resumes and holds the pointer",
                     timeout=10.0)
        paused_for = time.monotonic() - pause_began
        pauses = ((pause_from, time.monotonic_ns()),)
        park(s)

    # Play on: to the end of the match, or at least until enough frames are in.
    # Frames count as play up to the last time the pointer was seen held: the
    # end-of-match display after it sleeps in frames of its own.
    deadline = time.monotonic() + MATCH_END_GIVE_UP_S
    play_to = time.monotonic_ns()
    while pointer_held(s):
        play_to = time.monotonic_ns()
        if time.monotonic() > deadline:
            raise RuntimeError("no side reached 10 in time")
        if not config.whole_match and read_periods(
                delay_log, play_from, play_to, pauses).frames >= MIN_FRAMES + 20:
            break
        result.read_anonymous(pid)
        time.sleep(1.0)
    result.play_seconds = (play_to - play_from) / 1e9 - paused_for
    result.periods = read_periods(delay_log, play_from, play_to, pauses)
    log(f"{result.periods.frames} frames of play: mean {result.periods.mean:.2f} ms, "
        f"p99 {result.periods.p99:.2f} ms")

    if config.whole_match:
        log(f"a side reached 10 after {result.play_seconds:.0f} s of play")
        s.move(WINDOW_X + 300, WINDOW_Y + 200)  # over no button; no click
        time.sleep(SETTLE_S)
        result.ended = measure_cpu(pid, xpid, seconds)
        log(f"end of match: {idle_text(result.ended)}")
    result.read_anonymous(pid)
    result.peak_rss_mb = status_kb(pid, "VmHWM") / 1024.0
    result.rss_mb = status_kb(pid, "VmRSS") / 1024.0
    result.anon_mb = status_kb(pid, "RssAnon") / 1024.0
    result.file_mb = status_kb(pid, "RssFile") / 1024.0
    s.close(win)
    s.expect_exit(0)
    return result



# ----- Google Benchmark ---------------------------------------------------------------

def run_microbench(exe: Path, s: Session, config: Config, filt: str) -> dict[str, dict]:
    """Medians of five repetitions, by benchmark name."""
    out = subprocess.run([str(exe), f"--benchmark_filter={filt}", *MICROBENCH_OPTIONS],
                         env=program_env(s, config), capture_output=True, text=True,
                         check=True, timeout=300)
    results = {}
    for b in json.loads(out.stdout)["benchmarks"]:
        if b.get("aggregate_name") != "median" or "error_message" in b:
            continue
        # Google Benchmark appends how it timed a case to its name; drop that.
        results[re.sub(r"(/process_time|/real_time)+$", "", b["run_name"])] = b
    return results
