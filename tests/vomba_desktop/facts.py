"""The game's own description of itself: game_facts.json, which the build
writes with the pictures (`vomba_make_assets --facts`) from the same headers
the game is built from: its window's title, place and size, the sizes and
colours of its files, the sprite sheet's pieces and where the scoreboard
shows them. Tests read these instead of restating them.
"""

from __future__ import annotations

import argparse
import json
import os
import sys
from pathlib import Path

FILE_NAME = "game_facts.json"


def facts_file() -> Path:
    """Where the build wrote the facts: named by VOMBA_GAME_FACTS, else beside
    the game's folder, found from the --game-dir or --build-dir that the
    running program was given, else in the repository's build/."""
    named = os.environ.get("VOMBA_GAME_FACTS")
    if named:
        return Path(named)
    parser = argparse.ArgumentParser(add_help=False, allow_abbrev=False)
    parser.add_argument("--game-dir", type=Path)
    parser.add_argument("--build-dir", type=Path)
    folders, _ = parser.parse_known_args()
    if folders.build_dir:
        return folders.build_dir / FILE_NAME
    if folders.game_dir:
        return folders.game_dir.parent / FILE_NAME
    return Path(__file__).resolve().parents[2] / "build" / FILE_NAME


def read_facts(path: Path) -> dict:
    """The facts in `path`; OSError or ValueError where it cannot be read."""
    return json.loads(Path(path).read_text())


def read_facts_or_exit(path: Path) -> dict:
    """The facts in `path`, or the program ends saying which file it lacks."""
    try:
        return read_facts(path)
    except (OSError, ValueError) as problem:
        sys.exit(f"{Path(sys.argv[0]).name}: cannot read the game's description of itself "
                 f"{path} (the build writes it with the pictures): {problem}")
