"""`make bench`: what VombaPong costs a machine, beside the floor of its design.

The floor is bench/floor.cpp: the game's window, renderer choice and canvas,
presented twice every 30 ms with nothing drawn.  There are two configurations:
"default", the renderer the game picks by itself (under Xvfb SDL's software
renderer, which the game puts in place of OpenGL on Mesa's software
rasteriser), and "opengl", chosen with SDL_RENDER_DRIVER, the renderer of a
machine with a graphics card.  For each this script starts one Xvfb and in it
runs, one after the other, the scenarios (scenarios.py: the floor, the title,
the played game, the Google Benchmark program; creature.py: the creature
while it moves), measured as measuring.py reads a program's costs.

The tables (report.py: results against their targets, the presents, the
details of the run, with the date and the machine) are printed and written
as Markdown to BUILD_DIR/bench/performance.md.  They are numbers only: what
they mean is written by hand in docs/performance.md.

The X server, the game's window and the mouse are vomba_desktop's
(tests/vomba_desktop), which must be on PYTHONPATH; `make bench` sees to it:

    PYTHONPATH=tests /usr/bin/python3 bench/run_bench.py --idle

Usage: run_bench.py [--build-dir build] [--seconds 20] [--out FILE]
                    [--configs default,opengl]
       run_bench.py --creature-only [--build-dir build] [--creature-seconds 12]
       (only the creature's part; prints, writes nothing)

       run_bench.py --starts [--build-dir build]
       (only the default start beside a start on the software renderer: the
       time to the title and the peak memory there; prints, writes nothing)

       run_bench.py --idle [--build-dir build] [--seconds 20]
       (only the pause and the end-of-match display: the main thread's CPU and
       wake-ups (voluntary context switches) a second beside those of its other
       threads; prints, writes nothing)

       run_bench.py --page [--build-dir build] [--site build-web/site] [--seconds 20]
       (only the page beside the desktop: the frame period in play and the
       own work of a frame, for the desktop build, the page in Chromium and
       the page in Firefox (page_pace.py); prints, writes nothing)

--configs runs only the named configurations, for a row or two of the tables
without the whole run; with --creature-only and --idle as well.
"""

from __future__ import annotations

import argparse
import os
import sys
import tempfile
from pathlib import Path

from creature import CREATURE_SECONDS, creature_while_moving
from measuring import load_average
from page_pace import measure_page_beside_desktop, page_rows
from report import RESULTS_HEADER, Run, creature_row, idle_rows, report, start_rows, text_table
from scenarios import (CONFIGS, SOFTWARE_START, TITLE_RUNS, Config, alternating_starts,
                       run_floor, run_game, run_microbench, start_to_title)
from vomba_desktop import log
from vomba_desktop.delay_probe import probe_library
from vomba_desktop.session import Session
from vomba_desktop.values import GAME_EXECUTABLE

REPO = Path(__file__).resolve().parent.parent


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
        rows += idle_rows(config.key, game)
    print(f"\n{os.cpu_count()} cores, {seconds:g} s per window, main thread of the game "
          "against its other threads")
    print(text_table(RESULTS_HEADER, rows))
    return 0


def measure_starts(game_dir: Path, workdir: Path) -> list:
    """The default start beside the software renderer's, as rows of the results."""
    log("--- the default start beside a start on the software renderer ---")
    with Session(game_dir, workdir / "starts", "default") as s:
        return start_rows(*alternating_starts(s, CONFIGS[0], SOFTWARE_START))


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
    parser.add_argument("--starts", action="store_true",
                        help="only the default start beside a start on the software renderer; "
                             "print the rows and write nothing")
    parser.add_argument("--site", type=Path, default=REPO / "build-web" / "site",
                        help="the page's site, as make web builds it")
    parser.add_argument("--page", action="store_true",
                        help="only the page beside the desktop, in Chromium and Firefox; "
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
    if args.page:
        needs += [probe]
    elif not (args.creature_only or args.starts):
        needs += [floor, probe, microbench]
    for needed in needs:
        if not needed.exists():
            print(f"error: {needed} is missing; build first", file=sys.stderr)
            return 1

    workdir = Path(tempfile.mkdtemp(prefix="vomba-bench-"))
    log(f"logs and screenshots of this run in {workdir}")
    if args.starts:
        print(f"\n{game_dir}; load average {load_average():.2f}")
        print(text_table(RESULTS_HEADER, measure_starts(game_dir, workdir)))
        return 0
    if args.page:
        paces = measure_page_beside_desktop(game_dir, probe, args.site.resolve(), args.seconds,
                                            workdir)
        print(f"\n{game_dir}, {args.site}; load average {load_average():.2f}")
        print(text_table(RESULTS_HEADER, page_rows(paces)))
        return 0
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
            titles = [start_to_title(s, config) for _ in range(TITLE_RUNS)]
            log(f"title on screen after {', '.join(f'{t.shown_ms:.0f}' for t in titles)} ms")
            game = run_game(s, probe, config, args.seconds, workdir)
            filt = "." if config is selected[0] else "Present.*/window"
            micro = run_microbench(microbench, s, config, filt)
            creature = creature_while_moving(s, config, args.creature_seconds)
        runs.append(Run(config, floor_result, titles, game, micro, creature))

    page = page_rows(measure_page_beside_desktop(game_dir, probe, args.site.resolve(),
                                                 args.seconds, workdir))
    text, markdown = report(runs, args.seconds, measure_starts(game_dir, workdir), page)
    out = args.out or bench_dir / "performance.md"
    out.parent.mkdir(parents=True, exist_ok=True)
    out.write_text(markdown)
    print()
    print(text)
    print(f"\nwritten to {out}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
