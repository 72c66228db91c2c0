#!/usr/bin/env bash
# The README's promise, tried as a newcomer on a bare Debian 12: a minimal
# root made from Debian's archive, git and make installed, a clone of this
# repository's HEAD, then `make test`, then `make play` on a display this
# script runs (the title window must show, a close request must end the game
# with exit code 0). Prints each step's time; exits non-zero when either
# command fails.
#
#   make fresh-check     # installs what the host needs, then runs this
#
# Needs root (the root is made and entered with chroot), mmdebstrap, and for
# the display Xvfb and /usr/bin/python3 with python3-xlib and python3-pil.
# Takes 10-20 minutes; not part of `make test`. Uncommitted changes are not
# part of the check: it clones HEAD.
set -euo pipefail

SUITE=bookworm
WINDOW_TITLE="VombaPong DO NOT DISTRIBUTE"
# Guards against hangs only: make play builds the game first if make test did not.
PLAY_WINDOW_TIMEOUT_S=1200
PLAY_EXIT_TIMEOUT_S=60
# What a newcomer's shell would have; nothing of this machine's environment.
CHROOT_ENV=(env -i HOME=/root TERM=dumb LANG=C.UTF-8
            PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin)

say() { echo "[fresh-check $(date +%H:%M:%S)] $*"; }
refuse() { echo "fresh-machine-check: $*" >&2; exit 2; }

[ "$(id -u)" -eq 0 ] || refuse "needs root: it makes a Debian root and enters it with chroot (run: sudo $0)"
command -v mmdebstrap >/dev/null 2>&1 ||
  refuse "mmdebstrap is missing (make fresh-check installs it; or: apt-get install mmdebstrap)"
command -v Xvfb >/dev/null 2>&1 ||
  refuse "Xvfb is missing for the display (make fresh-check installs it; or: apt-get install xvfb)"
/usr/bin/python3 -c 'import Xlib, PIL' 2>/dev/null ||
  refuse "/usr/bin/python3 with python3-xlib and python3-pil is needed to watch the display" \
         "(make fresh-check installs them)"

repo=$(git -C "$(dirname "$0")/.." rev-parse --show-toplevel)
head=$(git -C "$repo" rev-parse HEAD)
if [ -n "$(git -C "$repo" status --porcelain --untracked-files=no)" ]; then
  say "note: $repo has uncommitted changes; they are not part of this check"
fi

work=$(mktemp -d /var/tmp/vombapong-fresh-XXXXXX)
root=$work/root
xvfb_pid=""
job_pid=""  # what runs inside the root now, in a session of its own

# shellcheck source=scripts/root-steps.sh
. "$(dirname "$0")/root-steps.sh"

cleanup() {
  local code=$?
  trap - EXIT INT TERM
  set +e
  [ -n "$job_pid" ] && kill -TERM -- "-$job_pid" 2>/dev/null
  [ -n "$xvfb_pid" ] && kill -TERM "$xvfb_pid" 2>/dev/null
  # Whatever still runs inside the root was started from here (the tests
  # start X servers in sessions of their own).
  take_down_root "$root" "$work"
  exit "$code"
}
trap cleanup EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

# Whether a child of ours still runs (it is not yet waited for: a zombie has ended).
alive() {
  local state
  state=$(sed 's/.*) //' "/proc/$1/stat" 2>/dev/null | cut -d' ' -f1) || return 1
  [ -n "$state" ] && [ "$state" != Z ]
}

# ----- timing ------------------------------------------------------------------

summary() {
  step_summary "fresh-check of $head on a bare Debian 12 ($SUITE, minbase)"
}

# ----- the bare system -----------------------------------------------------------

make_root() {
  mmdebstrap --variant=minbase "$SUITE" "$root"
}

# The system's file systems inside the root, the host's name server, and the
# repository the newcomer clones from: HEAD alone, as a branch of a bare repository.
prepare_root() {
  mount_system_folders "$root" &&
    cp -L /etc/resolv.conf "$root/etc/resolv.conf" &&
    git init --quiet --bare "$root/srv/vombapong.git" &&
    git -C "$repo" push --quiet "$root/srv/vombapong.git" "$head:refs/heads/main" &&
    git -C "$root/srv/vombapong.git" symbolic-ref HEAD refs/heads/main
}

# Runs a shell command line inside the root, in a session of its own so that
# an interrupt ends all of it.
in_root() {
  setsid chroot "$root" "${CHROOT_ENV[@]}" sh -c "$1" &
  job_pid=$!
  local code=0
  wait "$job_pid" || code=$?
  job_pid=""
  return "$code"
}

newcomer_gets_git_and_make() {
  in_root 'apt-get update -qq && DEBIAN_FRONTEND=noninteractive apt-get install -y -qq git make'
}

newcomer_clones() {
  in_root "cd /root && git clone --quiet /srv/vombapong.git vombapong &&
           test \"\$(git -C vombapong rev-parse HEAD)\" = $head"
}

# ----- make play on a display ------------------------------------------------------

start_display() {
  : >"$work/display"
  Xvfb -displayfd 9 -screen 0 1280x800x24 -nolisten tcp -noreset 9>"$work/display" \
    >"$work/xvfb.log" 2>&1 &
  xvfb_pid=$!
  local tries=0
  until [ -s "$work/display" ]; do
    kill -0 "$xvfb_pid" 2>/dev/null || { cat "$work/xvfb.log" >&2; return 1; }
    tries=$((tries + 1))
    [ "$tries" -lt 200 ] || return 1
    sleep 0.1
  done
  display=":$(head -n1 "$work/display")"
  say "display $display (Xvfb, pid $xvfb_pid)"
}

# Waits for the game's window to show the title picture, asks it to close as a
# window manager would, and gives the make's exit code.
watch_play() {
  DISPLAY=$display PYTHONDONTWRITEBYTECODE=1 /usr/bin/python3 - "$job_pid" "$WINDOW_TITLE" \
    "$root/root/vombapong/build/game/Start.bmp" "$PLAY_WINDOW_TIMEOUT_S" <<'EOF'
import sys, time
from PIL import Image, ImageChops
from Xlib import X, display, error, protocol

pid, title, title_picture, timeout = int(sys.argv[1]), sys.argv[2], sys.argv[3], float(sys.argv[4])
d = display.Display()
root = d.screen().root

def running():
    try:
        with open(f"/proc/{pid}/stat") as stat:
            return stat.read().rsplit(")", 1)[1].split()[0] != "Z"
    except FileNotFoundError:
        return False

def game_windows():
    found, stack = [], [root]
    while stack:
        try:
            children = stack.pop().query_tree().children
        except error.XError:
            continue
        for win in children:
            try:
                if win.get_wm_name() == title and win.get_attributes().map_state == X.IsViewable:
                    found.append(win)
            except error.XError:
                pass
        stack.extend(children)
    return found

def shows_title(win):
    size = win.get_geometry()
    at = root.translate_coords(win, 0, 0)
    raw = root.get_image(at.x, at.y, size.width, size.height, X.ZPixmap, 0xFFFFFFFF)
    shown = Image.frombytes("RGB", (size.width, size.height), raw.data, "raw", "BGRX")
    try:
        with Image.open(title_picture) as expected:
            expected = expected.convert("RGB")
    except OSError:
        return False
    if shown.size != expected.size:
        return False
    # As the end-to-end tests compare: renderers may round a channel a little.
    r, g, b = ImageChops.difference(shown, expected).split()
    largest = ImageChops.lighter(ImageChops.lighter(r, g), b)
    differing = largest.point(lambda v: 255 if v > 24 else 0).histogram()[255]
    return differing <= 0.001 * size.width * size.height

deadline = time.monotonic() + timeout
while True:
    if not running():
        sys.exit("make play ended before the game showed its title picture")
    if time.monotonic() > deadline:
        sys.exit(f"no title picture within {timeout:.0f} s")
    windows = game_windows()
    # Making an OpenGL renderer replaces SDL's first window: take one that stays.
    if windows and all(shows_title(w) for w in windows):
        time.sleep(0.3)
        again = game_windows()
        if again and [w.id for w in again] == [w.id for w in windows]:
            break
    time.sleep(0.2)
win = windows[0]
print(f"the title picture is on the display in window 0x{win.id:x}; sending WM_DELETE_WINDOW",
      flush=True)
event = protocol.event.ClientMessage(
    window=win, client_type=d.intern_atom("WM_PROTOCOLS"),
    data=(32, [d.intern_atom("WM_DELETE_WINDOW"), X.CurrentTime, 0, 0, 0]))
win.send_event(event, event_mask=X.NoEventMask)
d.flush()
EOF
}

play_and_close() {
  setsid chroot "$root" "${CHROOT_ENV[@]}" DISPLAY="$display" \
    sh -c 'cd /root/vombapong && make play' &
  job_pid=$!
  if ! watch_play; then
    kill -TERM -- "-$job_pid" 2>/dev/null
    wait "$job_pid" 2>/dev/null
    job_pid=""
    return 1
  fi
  local code=0 waited=0
  while alive "$job_pid"; do
    waited=$((waited + 1))
    if [ "$waited" -gt $((PLAY_EXIT_TIMEOUT_S * 10)) ]; then
      say "make play did not end within $PLAY_EXIT_TIMEOUT_S s of the close request"
      return 1
    fi
    sleep 0.1
  done
  wait "$job_pid" || code=$?
  job_pid=""
  say "make play ended with exit code $code after the close request"
  return "$code"
}

# ----- the run ---------------------------------------------------------------------

say "checking $head from $repo in $work"
step "bare Debian root (mmdebstrap minbase)" make_root || { summary; exit 1; }
step "mounts, HEAD offered for cloning" prepare_root || { summary; exit 1; }
step "apt-get install git make (in the root)" newcomer_gets_git_and_make || { summary; exit 1; }
step "git clone (in the root)" newcomer_clones || { summary; exit 1; }

failed=0
step "make test (in the root)" in_root "cd /root/vombapong && make test" || failed=1
step "display for make play" start_display || { summary; exit 1; }
step "make play: title shown, closed, exit 0" play_and_close || failed=1

summary
if [ "$failed" -ne 0 ]; then
  echo "fresh-check FAILED"
  exit 1
fi
echo "fresh-check passed"
