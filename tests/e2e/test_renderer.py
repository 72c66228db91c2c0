"""Which renderer draws the game.  Under Xvfb OpenGL runs on Mesa's software
rasteriser, as on a machine without a graphics card: the game then draws with
SDL's software renderer instead and says so once; a renderer the player chose
with SDL_RENDER_DRIVER is kept.  The picture is the same, pixel for pixel."""

import glob
import subprocess

import harness
from vomba_desktop import CaseFailed, log, values
from vomba_desktop.session import START_TIMEOUT_S, Session

SWITCH_LINE = values.SOFTWARE_RENDERER_NOTICE


def require_software_opengl(s: Session) -> None:
    """Fail unless this display's OpenGL draws on the processor (what glxinfo says):
    the case's own Xvfb has no graphics card, so anything else means the case
    cannot look at what it is about."""
    try:
        out = subprocess.run(["glxinfo", "-B"], env=s.env, capture_output=True, text=True,
                             timeout=START_TIMEOUT_S)
    except FileNotFoundError:
        raise CaseFailed("glxinfo (mesa-utils, which make test installs) is not installed: "
                         "cannot tell whether this display's OpenGL draws in software")
    if out.returncode != 0:
        raise CaseFailed(f"no OpenGL on this display (glxinfo: {out.stderr.strip()!r})")
    facts = dict(line.strip().split(": ", 1) for line in out.stdout.splitlines()
                 if ": " in line)
    log(f"OpenGL here: {facts.get('OpenGL renderer string')!r}, "
        f"accelerated: {facts.get('Accelerated')!r}")
    if facts.get("Accelerated") != "no":
        raise CaseFailed("this display's OpenGL is not known to draw in software "
                         f"(glxinfo says accelerated: {facts.get('Accelerated')!r})")


# Parts of an OpenGL driver as they appear among a process's mapped files.
OPENGL_LIBRARIES = ("libGL", "libgallium", "libLLVM", "swrast_dri", "libEGL")
GRAPHICS_DEVICE_NODES = ("/dev/dri/renderD*", "/dev/dri/card*", "/dev/nvidia*")


def opengl_mapped(pid: int) -> list[str]:
    with open(f"/proc/{pid}/maps") as maps:
        paths = {line.split()[-1] for line in maps if "/" in line}
    return sorted(p for p in paths if any(lib in p.rsplit("/", 1)[-1] for lib in OPENGL_LIBRARIES))


def title_and_court_exact(s: Session):
    """Start the game; the title, then the court, each exactly as their pictures."""
    s.start_game()
    win = s.find_game_window()
    s.expect_geometry(win)
    s.wait_until_matches(s.window_rect(), s.picture("Start.bmp"), "title picture",
                         timeout=START_TIMEOUT_S, tolerance=0, max_fraction=0)
    s.move_in_window(300, 200)
    s.click(1)
    s.wait_until_matches(s.window_rect(), s.picture("pong.bmp"), "court", tolerance=0,
                         max_fraction=0, ignore=values.FRAME_LOOP_DRAWS)
    return win


def software_without_graphics_card(s: Session) -> None:
    """OpenGL on a software rasteriser gives way to the software renderer, said once;
    on a machine with no graphics device at all, OpenGL is never even loaded."""
    if s.renderer != "default":
        raise CaseFailed("this case is about the renderer the game picks: run it with "
                         "--renderer default")
    require_software_opengl(s)
    win = title_and_court_exact(s)
    lines = s.stderr().splitlines()
    if lines.count(SWITCH_LINE) != 1:
        raise CaseFailed(f"expected the line {SWITCH_LINE!r} once on stderr; got {lines!r}")
    devices = [node for pattern in GRAPHICS_DEVICE_NODES for node in glob.glob(pattern)]
    if devices:
        # With a device node the game rightly tries OpenGL before it gives way.
        log(f"this machine has graphics device nodes {devices}: OpenGL may be loaded")
    elif mapped := opengl_mapped(s.game.pid):
        raise CaseFailed(f"no graphics device here, yet OpenGL was loaded: {mapped}")
    s.close(win)
    s.expect_exit(0)


def chosen_renderer_kept(s: Session) -> None:
    """With SDL_RENDER_DRIVER set, the game draws with that renderer: nothing is replaced."""
    if s.renderer == "default":
        raise CaseFailed("this case needs a chosen renderer: run it with --renderer opengl")
    win = title_and_court_exact(s)
    switched = [line for line in s.stderr().splitlines() if "graphics card" in line]
    if switched:
        raise CaseFailed(f"SDL_RENDER_DRIVER={s.renderer} was set, yet stderr says {switched!r}")
    s.close(win)
    s.expect_exit(0)


CASES = {
    "software_without_graphics_card": software_without_graphics_card,
    "chosen_renderer_kept": chosen_renderer_kept,
}

if __name__ == "__main__":
    harness.main(CASES)
