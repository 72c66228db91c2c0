"""The late wake-up of SDL's event wait on X11 (linux/x11_wakeups.h).

A close or ENDE taken in while the game waits paused makes SDL send the window
a wake-up message over a second connection; a window destroyed before the X
server takes it in turns the message into a BadWindow error, which used to end
the game with exit code 1 after a clean quit.  The race is rare, so
x11_wakeup_check makes it certain and this case runs it under Xvfb."""

import subprocess
from pathlib import Path

import harness
from vomba_desktop import CaseFailed, log
from vomba_desktop.session import START_TIMEOUT_S, Session



def run_check(s: Session, check: Path, mode: str) -> subprocess.CompletedProcess:
    out = subprocess.run([str(check), mode], env=s.env, capture_output=True, text=True,
                         timeout=START_TIMEOUT_S)
    log(f"{mode}: exit {out.returncode}, stdout {out.stdout.strip()!r}, "
        f"stderr {out.stderr.strip()[:200]!r}")
    return out


def late_wakeup_is_harmless(s: Session) -> None:
    """The late wake-up's error is ignored; any other X error still ends the program."""
    check = s.game_dir.parent / "tests" / "e2e" / "x11_wakeup_check"
    if not check.exists():
        raise CaseFailed(f"{check} was not built")
    survived = run_check(s, check, "late-wakeup")
    if survived.returncode != 0 or "survived" not in survived.stdout:
        raise CaseFailed("a wake-up message to a window already gone ended the program "
                         f"(exit {survived.returncode})")
    other = run_check(s, check, "other-error")
    if other.returncode != 1 or "BadWindow" not in other.stderr:
        raise CaseFailed("another X error no longer reaches Xlib's own handler "
                         f"(exit {other.returncode})")


if __name__ == "__main__":
    harness.main({"late_wakeup_is_harmless": late_wakeup_is_harmless})
