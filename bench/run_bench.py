"""`make bench`: what VombaPong costs a machine, beside the floor of its design.

The floor is bench/floor.cpp: the game's window, renderer choice and canvas,
presented twice every 30 ms with nothing drawn.  There are two configurations:
"default", the renderer the game picks by itself (under Xvfb SDL's software
renderer, which the game puts in place of OpenGL on Mesa's software
rasteriser), and "opengl", chosen with SDL_RENDER_DRIVER, the renderer of a
machine with a graphics card.  For each this script starts one Xvfb and in it,
one after the other:

1. the floor, for its CPU use and its frame period;
2. the game five times up to its title picture, for the start-up time;
3. the game played from outside with a parked paddle: CPU in play, CPU paused
   (a click), play resumed until a side reaches 10, CPU at the end-of-match
   display, the memory, and the frame periods of all the play;
4. the Google Benchmark program (bench/frame_bench.cpp): one frame of the
   game's own frame loop without its wait, and one present;
5. the player's creature watched while a real mouse sweeps it left and right:
   the share of screen samples in which it is missing.

CPU use is utime + stime from /proc/PID/stat (every thread of the process)
over a fixed wall-clock window, as percent of one core; the X server's share
over the same window is read the same way.  Frame periods come from the delay
probe of vomba_desktop, preloaded into the unchanged program: the starts of
two successive SDL_Delay calls are one frame apart.

The tables (results against their targets, the presents, the details of the
run, with the date and the machine) are printed and written as Markdown to
BUILD_DIR/bench/performance.md.  They are numbers only: what they mean is
written by hand in docs/performance.md.

The X server, the game's window and the mouse are vomba_desktop's
(tests/vomba_desktop), which must be on PYTHONPATH; `make bench` sees to it:

    PYTHONPATH=tests /usr/bin/python3 bench/run_bench.py --idle

Usage: run_bench.py [--build-dir build] [--seconds 20] [--out FILE]
                    [--configs default,opengl]
       run_bench.py --creature-only [--build-dir build] [--creature-seconds 12]
       (only the creature's part; prints, writes nothing)

       run_bench.py --idle [--build-dir build] [--seconds 20]
       (only the pause and the end-of-match display: the main thread's CPU and
       wake-ups (voluntary context switches) a second beside those of its other
       threads; prints, writes nothing)

--configs runs only the named configurations, for a row or two of the tables
without the whole run; with --creature-only and --idle as well.
"""

from __future__ import annotations

import argparse
import json
import os
import platform
import re
import signal
import statistics
import subprocess
import sys
import tempfile
import time
from dataclasses import dataclass, field
from pathlib import Path
from typing import Optional

from vomba_desktop import log, windows
from vomba_desktop.delay_probe import preload_env, probe_library, read_delays
from vomba_desktop.pictures import compare_images
from vomba_desktop.screen import Rect
from vomba_desktop.session import START_TIMEOUT_S, Session
from vomba_desktop.steps import (click_past_title, paddle_picture, park, pointer_held,
                                 require_frame_loop, serve)
from vomba_desktop.values import (GAME_EXECUTABLE, PADDLE_H, PADDLE_W, PUSH, WINDOW_TITLE,
                                  WINDOW_WIDTH, WINDOW_X, WINDOW_Y)
from vomba_desktop.xserver import SCREEN_SIZE

REPO = Path(__file__).resolve().parent.parent

CLOCK_TICKS_PER_S = os.sysconf("SC_CLK_TCK")
SETTLE_S = 2.0  # after a change of state, before a measurement starts
TITLE_RUNS = 5
MIN_FRAMES = 1000
FRAME_MS = 30.0
# A gap between two frame waits longer than this is a pause, not a frame.
LONGEST_FRAME_MS = 10 * FRAME_MS
MATCH_END_GIVE_UP_S = 600.0
MICROBENCH_OPTIONS = ["--benchmark_min_time=0.2", "--benchmark_repetitions=5",
                      "--benchmark_report_aggregates_only=true", "--benchmark_format=json"]

# The creature watched while it moves: pushed against the bottom-left clamp,
# then swept by the mouse from the left clamp past the right one and back.
CREATURE_SECONDS = 12.0
CREATURE_SAMPLES_PER_S = 150.0
CREATURE_BAND = Rect(0, 310, 300, 90)  # window coordinates: every place it can take
SWEEP_STEP_PX = 8
SWEEP_STEPS = 35  # 280 px: the creature's whole range of 240 px and a little more
SWEEP_STEP_S = 0.01
# A sample shows the creature missing when fewer than this share of the pixels
# by which it differs from the court are seen anywhere in its band, and whole
# from the second share on; between the two it is cut.
MISSING_BELOW = 0.1
WHOLE_FROM = 0.9

# The targets the numbers are held against. A frame of this game is by design
# its 30 ms wait plus its own drawing and presents, so the frame period and the
# CPU in play are held against the floor program's on the same renderer.
TARGET_PERIOD_OVER_FLOOR_MS = 0.5
TARGET_PLAY_OVER_FLOOR = 1.1
# Paused and at the end of the match the game's own thread should not wake at
# all: only the mixer's audio thread, which is not ours, keeps running.
TARGET_IDLE_MAIN_CPU_PERCENT = 0.0
TARGET_IDLE_MAIN_WAKEUPS_PER_S = 1.0
TARGET_FRAME_WORK_MS = 0.1
TARGET_TITLE_MS = 150.0
# The whole peak on SDL's software renderer; on OpenGL only the anonymous
# memory, since the driver's mapped libraries (Mesa's, LLVM) are not ours.
TARGET_PEAK_RSS_MB = 50.0
TARGET_OPENGL_ANON_MB = 40.0


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


# ----- reading /proc ----------------------------------------------------------

def _stat_fields(path: str) -> list[str]:
    with open(path) as f:
        text = f.read()
    return text[text.rindex(")") + 2:].split()  # fields from the third on


def cpu_ticks(pid: int) -> int:
    """utime + stime of a process (all its threads), in clock ticks."""
    fields = _stat_fields(f"/proc/{pid}/stat")
    return int(fields[11]) + int(fields[12])  # fields 14 and 15 of stat


def thread_ticks(pid: int, tid: int) -> int:
    fields = _stat_fields(f"/proc/{pid}/task/{tid}/stat")
    return int(fields[11]) + int(fields[12])


def status_kb(pid: int, key: str) -> int:
    with open(f"/proc/{pid}/status") as f:
        for line in f:
            if line.startswith(key + ":"):
                return int(line.split()[1])
    return 0


def load_average() -> float:
    return float(Path("/proc/loadavg").read_text().split()[0])


def thread_readings(pid: int) -> dict[int, tuple[str, float, int]]:
    """Per thread: its name, the CPU seconds it has used, and how often it gave
    up the CPU of its own accord (voluntary context switches: its wake-ups).

    CPU comes from schedstat (nanoseconds) where the kernel keeps it, else
    from utime + stime in stat (clock ticks).
    """
    readings = {}
    for task in Path(f"/proc/{pid}/task").iterdir():
        try:
            name = (task / "comm").read_text().strip()
            schedstat = task / "schedstat"
            if schedstat.exists():
                cpu_s = int(schedstat.read_text().split()[0]) / 1e9
            else:
                cpu_s = thread_ticks(pid, int(task.name)) / CLOCK_TICKS_PER_S
            switches = 0
            for line in (task / "status").read_text().splitlines():
                if line.startswith("voluntary_ctxt_switches:"):
                    switches = int(line.split()[1])
        except (FileNotFoundError, ProcessLookupError):
            continue  # the thread ended meanwhile
        readings[int(task.name)] = (name, cpu_s, switches)
    return readings


@dataclass
class CpuSample:
    process: float  # percent of one core, every thread of the process
    main: float  # its main thread alone
    xserver: float  # the X server over the same window
    load: float  # the machine's 1-minute load average at the end
    main_wakeups: float = 0.0  # the main thread's voluntary context switches a second
    others: float = 0.0  # percent of one core, every other thread together
    others_wakeups: float = 0.0
    others_names: str = ""  # which threads those are


def measure_cpu(pid: int, xserver_pid: int, seconds: float) -> CpuSample:
    start_wall = time.monotonic()
    p0, x0, t0 = cpu_ticks(pid), cpu_ticks(xserver_pid), thread_readings(pid)
    time.sleep(seconds)
    p1, x1, t1 = cpu_ticks(pid), cpu_ticks(xserver_pid), thread_readings(pid)
    wall = time.monotonic() - start_wall

    def percent(ticks: int) -> float:
        return 100.0 * ticks / CLOCK_TICKS_PER_S / wall

    # Threads alive through the whole window; the main thread's id is the pid.
    spent = {tid: (t1[tid][0], t1[tid][1] - t0[tid][1], t1[tid][2] - t0[tid][2])
             for tid in t0.keys() & t1.keys()}
    main = spent.get(pid, ("", 0.0, 0))
    others = [v for tid, v in spent.items() if tid != pid]
    names = sorted({name for name, _, _ in others})
    return CpuSample(percent(p1 - p0), 100.0 * main[1] / wall, percent(x1 - x0), load_average(),
                     main[2] / wall, 100.0 * sum(c for _, c, _ in others) / wall,
                     sum(w for _, _, w in others) / wall, ", ".join(names))


# ----- frame periods from the delay probe ------------------------------------------

@dataclass
class Periods:
    frames: int = 0
    mean: float = 0.0
    p50: float = 0.0
    p99: float = 0.0
    max: float = 0.0
    oversleep: float = 0.0  # mean ms slept beyond what each wait asked
    waits: dict[int, int] = field(default_factory=dict)  # ms asked -> how many


def percentile(ordered: list[float], q: float) -> float:
    return ordered[min(len(ordered) - 1, max(0, round(q * (len(ordered) - 1))))]


def read_periods(log_path: Path, from_ns: int, to_ns: int,
                 skip: tuple[tuple[int, int], ...] = ()) -> Periods:
    """Frame periods: from the start of one wait to the start of the next.

    Waits that start within a `skip` range (a pause: paused frames sleep too)
    are left out, and with them the gap they leave.
    """
    calls = [(d.start_ns, d.asked_ms, d.slept_ns) for d in read_delays(log_path)
             if from_ns <= d.start_ns <= to_ns
             and not any(a <= d.start_ns <= b for a, b in skip)]
    periods, oversleeps, waits = [], [], {}
    for (start, asked, slept), (next_start, _, _) in zip(calls, calls[1:]):
        period = (next_start - start) / 1e6
        if period > LONGEST_FRAME_MS:
            continue
        periods.append(period)
        oversleeps.append(slept / 1e6 - asked)
        waits[asked] = waits.get(asked, 0) + 1
    if not periods:
        return Periods()
    ordered = sorted(periods)
    return Periods(len(periods), statistics.fmean(periods), percentile(ordered, 0.5),
                   percentile(ordered, 0.99), ordered[-1], statistics.fmean(oversleeps), waits)


# ----- running programs in the X server --------------------------------------------

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

def title_time_ms(s: Session, config: Config) -> tuple[float, float]:
    """Milliseconds from launch to the window mapped, and to the title on screen.

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
    finally:
        os.killpg(proc.pid, signal.SIGKILL)
        proc.wait()
    if shown_ms is None:
        raise RuntimeError("the title did not appear")
    return mapped_ms, shown_ms


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


# ----- the player's creature while it moves ------------------------------------------

@dataclass
class CreatureResult:
    samples: int = 0
    missing: int = 0
    cut: int = 0
    seconds: float = 0.0
    moves: int = 0
    places: set[int] = field(default_factory=set)  # left edges the creature was seen at

    @property
    def missing_share(self) -> float:
        return self.missing / self.samples if self.samples else float("nan")


def sweep_command(seconds: float) -> tuple[list[str], int]:
    """One xdotool process that moves the mouse steadily left and right, relative
    moves only (what relative mouse mode hears), for about `seconds`."""
    args, moves = ["xdotool"], 0
    while moves * SWEEP_STEP_S < seconds:
        for step in (SWEEP_STEP_PX, -SWEEP_STEP_PX):
            for _ in range(SWEEP_STEPS):
                args += ["mousemove_relative", "--", str(step), "0", "sleep", str(SWEEP_STEP_S)]
                moves += 1
    return args, moves


def creature_while_moving(s: Session, config: Config, seconds: float) -> CreatureResult:
    """Sample the creature's band of the window while a real mouse sweeps it.

    The game is played as in the other parts, but the ball is never served: it
    rests at its serve place, clear of the band, so the band holds nothing but
    the court and the creature.
    """
    s.start_game(extra_env=config.env, audio_driver="dummy")
    win = s.find_game_window()
    s.wait_until_matches(s.window_rect(), s.picture("Start.bmp"), "title picture")
    click_past_title(s)
    require_frame_loop(s)
    s.move_relative(-PUSH, PUSH)  # bottom-left clamp: the creature's top-left at (0, 310)
    corner = (CREATURE_BAND.x, CREATURE_BAND.y)
    creature = paddle_picture(s, corner)
    paddle = (PADDLE_W, PADDLE_H)
    s.wait_until_matches(s.in_window(*corner, *paddle), creature, "creature at the clamp")
    court = s.picture("pong.bmp").crop(CREATURE_BAND.box())
    distinct = compare_images(creature, court.crop((0, 0, *paddle))).differing
    band = s.in_window(CREATURE_BAND.x, CREATURE_BAND.y, CREATURE_BAND.w, CREATURE_BAND.h)

    command, moves = sweep_command(seconds)
    result = CreatureResult(moves=moves)
    period = 1.0 / CREATURE_SAMPLES_PER_S
    mover = subprocess.Popen(command, env=s.env, stdout=subprocess.DEVNULL)
    started = next_sample = time.monotonic()
    try:
        while mover.poll() is None:
            seen_at = compare_images(s.grab(band), court)
            seen = seen_at.differing
            result.samples += 1
            box = seen_at.diff_mask.getbbox()
            if box is not None and seen >= WHOLE_FROM * distinct:
                result.places.add(box[0])
            if seen < MISSING_BELOW * distinct:
                result.missing += 1
            elif seen < WHOLE_FROM * distinct:
                result.cut += 1
            next_sample += period
            now = time.monotonic()
            if next_sample > now:
                time.sleep(next_sample - now)
            else:
                next_sample = now  # fell behind: sample on, do not burst
    finally:
        if mover.poll() is None:
            mover.kill()
        mover.wait()
    result.seconds = time.monotonic() - started
    log(f"creature while moving ({config.title}): missing in {result.missing} of "
        f"{result.samples} samples ({result.missing_share:.2%}), cut in {result.cut}, "
        f"{result.seconds:.1f} s, {moves} mouse moves, seen at {len(result.places)} places")
    s.close(win)
    s.expect_exit(0)
    return result


def creature_row(title: str, c: CreatureResult) -> tuple[str, str, str, str]:
    return (f"Player's creature missing while it moves [{title}]",
            f"{c.missing_share:.2%} of {c.samples} samples ({c.missing}); cut in {c.cut}; "
            f"{c.samples / c.seconds:.0f} samples/s over {c.seconds:.1f} s; seen at "
            f"{len(c.places)} places, x {min(c.places, default=0)}-{max(c.places, default=0)}",
            "0 %", verdict(c.missing == 0))


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


# ----- the report ------------------------------------------------------------------------

@dataclass
class Run:
    config: Config
    floor: FloorResult
    titles: list[tuple[float, float]]
    game: GameResult
    micro: dict[str, dict]
    creature: Optional[CreatureResult] = None

    @property
    def name(self) -> str:
        """The configuration, and the renderer it drew with where that is another name."""
        renderer = self.floor.renderer_name
        return self.config.key if renderer == self.config.key else f"{self.config.key}: {renderer}"


Row = tuple[str, ...]


def verdict(ok: bool) -> str:
    return "met" if ok else "not met"


def cpu_text(sample: CpuSample) -> str:
    return (f"{sample.process:.2f} % (main thread {sample.main:.2f} %; "
            f"X server {sample.xserver:.2f} %)")


def idle_text(sample: CpuSample) -> str:
    return (f"main thread {sample.main:.3f} % and {sample.main_wakeups:.2f} wake-ups/s; other "
            f"threads ({sample.others_names}) {sample.others:.2f} % and "
            f"{sample.others_wakeups:.1f} wake-ups/s; process {sample.process:.2f} %, "
            f"X server {sample.xserver:.2f} %, load {sample.load:.2f}")


def period_text(p: Periods) -> str:
    return (f"mean {p.mean:.2f}, p50 {p.p50:.2f}, p99 {p.p99:.2f}, max {p.max:.2f} ms "
            f"({p.frames} frames)")


MAIN_IDLE_TARGET_TEXT = (f"main thread {TARGET_IDLE_MAIN_CPU_PERCENT:.1f} %, "
                         f"< {TARGET_IDLE_MAIN_WAKEUPS_PER_S:g} wake-up/s")


def main_idle_text(sample: CpuSample) -> str:
    return (f"main thread {sample.main:.3f} %, {sample.main_wakeups:.2f} wake-ups/s; other "
            f"threads {sample.others:.2f} %, {sample.others_wakeups:.1f} wake-ups/s; process "
            f"{sample.process:.2f} %, X server {sample.xserver:.2f} %")


def main_idle_ok(sample: CpuSample) -> bool:
    return (round(sample.main, 1) <= TARGET_IDLE_MAIN_CPU_PERCENT
            and sample.main_wakeups < TARGET_IDLE_MAIN_WAKEUPS_PER_S)


def memory_row(name: str, renderer: str, g: GameResult) -> Row:
    """On SDL's software renderer the whole peak is the game's; on OpenGL most of
    it is the driver's mapped libraries, so there only the anonymous part counts."""
    measured = (f"peak {g.peak_rss_mb:.1f} MB (VmHWM); anonymous up to {g.anon_peak_mb:.1f} MB; "
                f"at the end {g.rss_mb:.1f} MB resident ({g.anon_mb:.1f} MB anonymous, "
                f"{g.file_mb:.1f} MB mapped files)")
    if renderer.startswith("opengl"):
        return (f"Memory [{name}]", measured, f"anonymous < {TARGET_OPENGL_ANON_MB:.0f} MB",
                verdict(g.anon_peak_mb < TARGET_OPENGL_ANON_MB))
    return (f"Memory [{name}]", measured, f"peak < {TARGET_PEAK_RSS_MB:.0f} MB",
            verdict(g.peak_rss_mb < TARGET_PEAK_RSS_MB))


def result_rows(runs: list[Run]) -> list[Row]:
    rows = []
    for run in runs:
        f, g, n = run.floor, run.game, run.name
        rows.append((f"CPU, floor program [{n}]", cpu_text(f.cpu), "reference", ""))
        ratio = g.play.process / f.cpu.process if f.cpu.process else float("inf")
        rows.append((f"CPU, game in play [{n}]", f"{cpu_text(g.play)}: {ratio:.2f} x floor",
                     f"<= {TARGET_PLAY_OVER_FLOOR} x floor",
                     verdict(ratio <= TARGET_PLAY_OVER_FLOOR)))
        for what, sample in (("game paused", g.paused), ("end-of-match display", g.ended)):
            if sample is not None:
                rows.append((f"CPU, {what} [{n}]", main_idle_text(sample),
                             MAIN_IDLE_TARGET_TEXT, verdict(main_idle_ok(sample))))
    for run in runs:
        f, p, n = run.floor, run.game.periods, run.name
        rows.append((f"Frame period, floor program [{n}]", period_text(f.periods),
                     "reference", ""))
        ok = abs(p.mean - f.periods.mean) <= TARGET_PERIOD_OVER_FLOOR_MS and p.frames >= MIN_FRAMES
        rows.append((f"Frame period, game in play [{n}]", period_text(p),
                     f"mean within {TARGET_PERIOD_OVER_FLOOR_MS} ms of the floor's "
                     f"{f.periods.mean:.2f}, >= {MIN_FRAMES} frames", verdict(ok)))
    work = runs[0].micro.get("PlayFrameWork")
    if work:
        rows.append(("One frame without its wait and showing [software over a surface]",
                     f"{work['real_time']:.1f} us", f"< {TARGET_FRAME_WORK_MS} ms",
                     verdict(work["real_time"] / 1000.0 < TARGET_FRAME_WORK_MS)))
    for run in runs:
        shown = [t for _, t in run.titles]
        median = statistics.median(shown)
        rows.append((f"Start to title on screen [{run.name}]",
                     f"median {median:.0f} ms of {', '.join(f'{t:.0f}' for t in shown)}; "
                     f"window mapped {statistics.median(m for m, _ in run.titles):.0f} ms",
                     f"< {TARGET_TITLE_MS:.0f} ms", verdict(median < TARGET_TITLE_MS)))
    for run in runs:
        if run.creature is not None:
            rows.append(creature_row(run.name, run.creature))
    for run in runs:
        rows.append(memory_row(run.name, run.floor.renderer_name, run.game))
    return rows


def present_rows(runs: list[Run]) -> list[Row]:
    """Microseconds per present, wall and CPU; the surface once, the window per run."""
    rows = []
    for run in runs:
        for name, b in run.micro.items():
            if not name.startswith("Present"):
                continue
            where = "surface" if "/surface/" in name else run.name
            if where == "surface" and run is not runs[0]:
                continue
            rows.append((name, where, b.get("label", ""), f"{b['real_time']:.0f}",
                         f"{b['cpu_time']:.0f}"))
    return rows


def detail_rows(runs: list[Run], seconds: float) -> list[Row]:
    """What a reader of the results needs to weigh them, one column a run."""
    def each(text) -> Row:
        return tuple(text(r) for r in runs)

    loads = [s.load for r in runs
             for s in (r.floor.cpu, r.game.play, r.game.paused, r.game.ended) if s is not None]
    return [
        ("CPU window", *each(lambda r: f"{seconds:g} s after {SETTLE_S:g} s settling")),
        ("Load average (1 min) at the CPU windows' ends",
         *each(lambda r: f"{min(loads):.2f}-{max(loads):.2f}")),
        ("Frame waits asked", *each(lambda r: ", ".join(
            f"{k} ms x {v}" for k, v in sorted(r.game.periods.waits.items())) or "none")),
        ("Mean sleep beyond the wait asked", *each(
            lambda r: f"game {r.game.periods.oversleep:.2f} ms, floor "
                      f"{r.floor.periods.oversleep:.2f} ms")),
        ("Play until a side reached 10", *each(
            lambda r: f"{r.game.play_seconds:.0f} s" if r.config.whole_match else "not played")),
        ("Idle threads other than the main one", *each(
            lambda r: (r.game.paused or r.game.ended or CpuSample(0, 0, 0, 0)).others_names)),
        ("Notes", *each(lambda r: "; ".join(r.game.notes) or "none")),
    ]


def text_table(header: Row, rows: list[Row]) -> str:
    widths = [max(len(r[i]) for r in [header, *rows]) for i in range(len(header))]
    lines = ["  ".join(h.ljust(w) for h, w in zip(header, widths)).rstrip(),
             "  ".join("-" * w for w in widths)]
    lines += ["  ".join(c.ljust(w) for c, w in zip(r, widths)).rstrip() for r in rows]
    return "\n".join(lines)


def markdown_table(header: Row, rows: list[Row]) -> str:
    lines = ["| " + " | ".join(header) + " |", "|" + "---|" * len(header)]
    lines += ["| " + " | ".join(r) + " |" for r in rows]
    return "\n".join(lines)


RESULTS_HEADER = ("What", "Measured", "Target", "Verdict")
PRESENTS_HEADER = ("Benchmark", "Where", "Renderer, formats", "Wall us", "CPU us")


def machine_rows(runs: list[Run]) -> list[Row]:
    model = "unknown CPU"
    with open("/proc/cpuinfo") as f:
        for line in f:
            if line.startswith("model name"):
                model = line.split(":", 1)[1].strip()
                break
    mem_kb = 0
    with open("/proc/meminfo") as f:
        for line in f:
            if line.startswith("MemTotal:"):
                mem_kb = int(line.split()[1])
    return [
        ("Date", time.strftime("%Y-%m-%d %H:%M")),
        ("Machine", f"{model}, {os.cpu_count()} cores, {mem_kb / 1024 / 1024:.1f} GiB RAM, "
                    f"Linux {platform.release()}"),
        ("Display", f"Xvfb {SCREEN_SIZE}, SDL {runs[0].floor.sdl_version}"),
        ("Renderers", ", ".join(f"{r.config.key}: {r.floor.renderer_name}" for r in runs)),
    ]


def report(runs: list[Run], seconds: float) -> tuple[str, str]:
    """The tables of a run, as text for the terminal and as Markdown."""
    tables = [
        ("Results", RESULTS_HEADER, result_rows(runs)),
        ("Presents through the canvas", PRESENTS_HEADER, present_rows(runs)),
        ("Run details", ("What", *(r.name for r in runs)), detail_rows(runs, seconds)),
    ]
    machine = machine_rows(runs)
    text = ["\n".join(f"{k}: {v}" for k, v in machine)]
    md = ["# VombaPong: bench tables", "",
          "Written by `make bench` (bench/run_bench.py). The narrative of a run is "
          "docs/performance.md.", "", markdown_table(("What", "This run"), machine)]
    for title, header, rows in tables:
        text += ["", title, text_table(header, rows)]
        md += ["", f"## {title}", "", markdown_table(header, rows)]
    return "\n".join(text), "\n".join(md) + "\n"


# ----- main ---------------------------------------------------------------------------------

def measure_idle(game_dir: Path, configs: list[Config], seconds: float) -> int:
    """The game paused and at the end-of-match display, on the given configurations."""
    if not (game_dir / GAME_EXECUTABLE).exists():
        print(f"error: {game_dir / GAME_EXECUTABLE} is missing; build first",
              file=sys.stderr)
        return 1
    workdir = Path(tempfile.mkdtemp(prefix="vomba-bench-idle-"))
    log(f"logs and screenshots of this run in {workdir}")
    rows = []
    for config in configs:
        log(f"--- {config.title} ---")
        with Session(game_dir, workdir / config.key, "default") as s:
            game = run_game(s, None, config, seconds, workdir)
        for what, sample in (("paused", game.paused), ("end-of-match display", game.ended)):
            if sample is not None:
                rows.append((f"{what} [{config.key}]", main_idle_text(sample),
                             MAIN_IDLE_TARGET_TEXT, verdict(main_idle_ok(sample))))
                rows.append((f"  load, other threads [{config.key}]",
                             f"load {sample.load:.2f}; {sample.others_names}", "", ""))
    print(f"\n{os.cpu_count()} cores, {seconds:g} s per window, main thread of the game "
          "against its other threads")
    print(text_table(RESULTS_HEADER, rows))
    return 0


def main() -> int:
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--build-dir", type=Path, default=REPO / "build")
    parser.add_argument("--seconds", type=float, default=20.0, help="length of each CPU window")
    parser.add_argument("--out", type=Path,
                        help="where the tables go (default: BUILD_DIR/bench/performance.md)")
    parser.add_argument("--configs", default=",".join(c.key for c in CONFIGS),
                        help="comma-separated configurations to run (default: all)")
    parser.add_argument("--creature-seconds", type=float, default=CREATURE_SECONDS,
                        help="how long the creature is swept while it is watched")
    parser.add_argument("--creature-only", action="store_true",
                        help="only watch the creature while it moves, on both renderers; "
                             "print the rows and write nothing")
    parser.add_argument("--idle", action="store_true",
                        help="only the pause and the end-of-match display, on both renderers; "
                             "print the rows and write nothing")
    args = parser.parse_args()
    known = {c.key: c for c in CONFIGS}
    wanted = [key.strip() for key in args.configs.split(",") if key.strip()]
    if not wanted or any(key not in known for key in wanted):
        print(f"error: --configs takes some of {', '.join(known)}", file=sys.stderr)
        return 1
    selected = [known[key] for key in wanted]

    build = args.build_dir.resolve()
    game_dir = build / "game"
    if args.idle:
        return measure_idle(game_dir, selected, args.seconds)
    bench_dir = build / "bench"
    floor = bench_dir / "vomba_floor"
    probe = probe_library(build)
    microbench = bench_dir / "vomba_frame_bench"
    needs = [game_dir / GAME_EXECUTABLE]
    if not args.creature_only:
        needs += [floor, probe, microbench]
    for needed in needs:
        if not needed.exists():
            print(f"error: {needed} is missing; build first", file=sys.stderr)
            return 1

    workdir = Path(tempfile.mkdtemp(prefix="vomba-bench-"))
    log(f"logs and screenshots of this run in {workdir}")
    if args.creature_only:
        rows = []
        for config in selected:
            with Session(game_dir, workdir / config.key, "default") as s:
                rows.append(creature_row(config.key,
                                         creature_while_moving(s, config, args.creature_seconds)))
        print(f"\n{game_dir}; load average {load_average():.2f}")
        print(text_table(RESULTS_HEADER, rows))
        return 0
    runs: list[Run] = []
    for config in selected:
        log(f"--- {config.title} ---")
        with Session(game_dir, workdir / config.key, "default") as s:
            floor_result = run_floor(s, floor, probe, config, args.seconds, workdir)
            titles = [title_time_ms(s, config) for _ in range(TITLE_RUNS)]
            log(f"title on screen after {', '.join(f'{t:.0f}' for _, t in titles)} ms")
            game = run_game(s, probe, config, args.seconds, workdir)
            filt = "." if config is selected[0] else "Present.*/window"
            micro = run_microbench(microbench, s, config, filt)
            creature = creature_while_moving(s, config, args.creature_seconds)
        runs.append(Run(config, floor_result, titles, game, micro, creature))

    text, markdown = report(runs, args.seconds)
    out = args.out or bench_dir / "performance.md"
    out.parent.mkdir(parents=True, exist_ok=True)
    out.write_text(markdown)
    print()
    print(text)
    print(f"\nwritten to {out}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
