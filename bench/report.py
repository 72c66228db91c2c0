"""The report of `make bench`: each measurement held against its target, as
tables of rows (results, the presents, the details of the run, the machine),
printed as text and written as Markdown. They are numbers only: what they
mean is written by hand in docs/performance.md.
"""

from __future__ import annotations

import os
import platform
import statistics
import time
from dataclasses import dataclass
from typing import Optional

from creature import CreatureResult
from measuring import CpuSample, Periods
from scenarios import MIN_FRAMES, SETTLE_S, Config, FloorResult, GameResult, TitleStart
from vomba_desktop.xserver import SCREEN_SIZE

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
# Without a graphics card the default start should cost what a start on SDL's
# software renderer costs, in time to the title and in peak memory.
TARGET_START_OVER_SOFTWARE = 1.2
# The whole peak on SDL's software renderer; on OpenGL only the anonymous
# memory, since the driver's mapped libraries (Mesa's, LLVM) are not ours.
TARGET_PEAK_RSS_MB = 50.0
TARGET_OPENGL_ANON_MB = 40.0


@dataclass
class Run:
    config: Config
    floor: FloorResult
    titles: list[TitleStart]
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


def creature_row(title: str, c: CreatureResult) -> tuple[str, str, str, str]:
    return (f"Player's creature missing while it moves [{title}]",
            f"{c.missing_share:.2%} of {c.samples} samples ({c.missing}); cut in {c.cut}; "
            f"{c.samples / c.seconds:.0f} samples/s over {c.seconds:.1f} s; seen at "
            f"{len(c.places)} places, x {min(c.places, default=0)}-{max(c.places, default=0)}",
            "0 %", verdict(c.missing == 0))


def idle_rows(key: str, game: GameResult) -> list[Row]:
    """The pause and the end-of-match display of one configuration, with the
    load and the other threads beside them (`run_bench.py --idle`)."""
    rows = []
    for what, sample in (("paused", game.paused), ("end-of-match display", game.ended)):
        if sample is not None:
            rows.append((f"{what} [{key}]", main_idle_text(sample),
                         MAIN_IDLE_TARGET_TEXT, verdict(main_idle_ok(sample))))
            rows.append((f"  load, other threads [{key}]",
                         f"load {sample.load:.2f}; {sample.others_names}", "", ""))
    return rows


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
        shown = [t.shown_ms for t in run.titles]
        median = statistics.median(shown)
        rows.append((f"Start to title on screen [{run.name}]",
                     f"median {median:.0f} ms of {', '.join(f'{t:.0f}' for t in shown)}; "
                     f"window mapped {statistics.median(t.mapped_ms for t in run.titles):.0f} ms",
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


def start_rows(default: list[TitleStart], software: list[TitleStart]) -> list[Row]:
    """The default start beside a start on SDL's software renderer, by medians."""
    rows = []
    for what, unit, digits, read in (("Start to title on screen", "ms", 0, lambda t: t.shown_ms),
                                     ("Peak memory at the title (VmHWM)", "MB", 1,
                                      lambda t: t.peak_mb)):
        ours = statistics.median(read(t) for t in default)
        lightest = statistics.median(read(t) for t in software)
        ratio = ours / lightest
        rows.append((f"{what}, default start beside software",
                     f"{ours:.{digits}f} {unit} against {lightest:.{digits}f} {unit}: "
                     f"{ratio:.2f} x (medians of {len(default)} alternating starts)",
                     f"<= {TARGET_START_OVER_SOFTWARE} x software",
                     verdict(ratio <= TARGET_START_OVER_SOFTWARE)))
    return rows


def report(runs: list[Run], seconds: float, starts: list[Row],
           page: list[Row]) -> tuple[str, str]:
    """The tables of a run, as text for the terminal and as Markdown."""
    tables = [
        ("Results", RESULTS_HEADER, result_rows(runs) + starts),
        ("The page beside the desktop", RESULTS_HEADER, page),
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
