"""Measuring for `make bench`: what a running program costs, read from
/proc, and its frame periods, read from the delay probe's log.

CPU use is utime + stime from /proc/PID/stat (every thread of the process)
over a fixed wall-clock window, as percent of one core; the X server's share
over the same window is read the same way. Frame periods come from the delay
probe (vomba_desktop.delay_probe), preloaded into the unchanged program: the
starts of two successive SDL_Delay calls are one frame apart.
"""

from __future__ import annotations

import os
import statistics
import time
from dataclasses import dataclass, field
from pathlib import Path

from vomba_desktop.delay_probe import read_delays
from vomba_desktop.values import FRAME_MILLIS

CLOCK_TICKS_PER_S = os.sysconf("SC_CLK_TCK")
FRAME_MS = float(FRAME_MILLIS)
# A gap between two frame waits longer than this is a pause, not a frame.
LONGEST_FRAME_MS = 10 * FRAME_MS


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
