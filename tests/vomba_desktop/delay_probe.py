"""The frame-wait probe: delay_probe.cpp, built beside this package's build
folder as a library to preload. Preloaded into the unchanged game (or any
SDL program), it logs every SDL_Delay the program makes: when the wait
began, what it asked for and how long it really slept. The starts of two
successive frame waits are one frame period apart, seen from outside the
game's own code.
"""

from __future__ import annotations

from dataclasses import dataclass
from pathlib import Path

# Where CMake builds it, below the build tree (tests/vomba_desktop/CMakeLists.txt).
_LIBRARY = Path("tests") / "vomba_desktop" / "libvomba_delay_probe.so"


@dataclass(frozen=True)
class Delay:
    start_ns: int  # CLOCK_MONOTONIC, as time.monotonic_ns() reads it
    asked_ms: int
    slept_ns: int


def probe_library(build_dir: Path) -> Path:
    """The probe of the build tree `build_dir` (which may not be built)."""
    return Path(build_dir) / _LIBRARY


def preload_env(probe: Path, log_path: Path) -> dict:
    """The environment that preloads `probe` and has it log to `log_path`."""
    return {"LD_PRELOAD": str(probe), "VOMBA_DELAY_LOG": str(log_path)}


def read_delays(log_path: Path) -> list[Delay]:
    """Every wait logged so far, in order. A line the program is still
    writing is left out, and a log not yet made holds none."""
    delays = []
    if not Path(log_path).exists():
        return delays
    for line in Path(log_path).read_text().splitlines():
        parts = line.split()
        if len(parts) == 3:
            delays.append(Delay(int(parts[0]), int(parts[1]), int(parts[2])))
    return delays
