#!/usr/bin/env bash
# The README's promise, tried as a newcomer on a bare Debian 12: a minimal
# root made from Debian's archive, git and make installed, a clone of this
# repository's HEAD, then `make test`, then `make play` on a display of its
# own (the title window must show, a close request must end the game with
# exit code 0). Prints each step's time; exits non-zero when either command
# fails.
#
#   make fresh-check     # installs what the host needs, then runs this
#
# Needs root (the root is made and entered with chroot), mmdebstrap, and for
# the display Xvfb and /usr/bin/python3 with python3-xlib and python3-pil.
# Takes 30-45 minutes (SDL is built for Windows from source in the root); not
# part of `make test`. Uncommitted changes are not
# part of the check: it clones HEAD.
set -euo pipefail

SUITE=bookworm
# Guards against hangs only: make play builds the game first if make test did not.
PLAY_WINDOW_TIMEOUT_S=1200
PLAY_EXIT_TIMEOUT_S=60
# What a newcomer's shell would have; nothing of this machine's environment.
CHROOT_ENV=(env -i HOME=/root TERM=dumb LANG=C.UTF-8
            PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin)
# But for the certificate authorities of this machine's own network (a proxy's,
# say), which a newcomer's machine trusts in its own way: they go into the root,
# where ca-certificates takes them in, and Node, which keeps its own list, is
# pointed at the system's (npm fetches the browser driver).
LOCAL_CAS=(/usr/local/share/ca-certificates/*.crt)
if [ -e "${LOCAL_CAS[0]}" ]; then
  CHROOT_ENV+=(NODE_EXTRA_CA_CERTS=/etc/ssl/certs/ca-certificates.crt)
else
  LOCAL_CAS=()
fi

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
job_pid=""  # what runs inside the root now, in a session of its own

# shellcheck source=scripts/root-steps.sh
. "$(dirname "$0")/root-steps.sh"

cleanup() {
  local code=$?
  trap - EXIT INT TERM
  set +e
  [ -n "$job_pid" ] && kill -TERM -- "-$job_pid" 2>/dev/null
  # Whatever still runs inside the root was started from here (the tests
  # start X servers in sessions of their own).
  take_down_root "$root" "$work"
  exit "$code"
}
trap cleanup EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

# ----- timing ------------------------------------------------------------------

summary() {
  step_summary "fresh-check of $head on a bare Debian 12 ($SUITE, minbase)"
}

# ----- the bare system -----------------------------------------------------------

make_root() {
  mmdebstrap --variant=minbase "$SUITE" "$root"
}

# The system's file systems inside the root, the host's name server and its
# own certificate authorities, and the repository the newcomer clones from:
# HEAD alone, as a branch of a bare repository.
prepare_root() {
  mount_system_folders "$root" &&
    cp -L /etc/resolv.conf "$root/etc/resolv.conf" &&
    mkdir -p "$root/usr/local/share/ca-certificates" &&
    { [ ${#LOCAL_CAS[@]} -eq 0 ] || cp -L "${LOCAL_CAS[@]}" "$root/usr/local/share/ca-certificates/"; } &&
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

# Runs make play in the root on an X server of its own, waits for the game's
# window to show the title picture, asks it to close as a window manager
# would, and gives make's exit code (vomba_desktop.watch_play, from the clone
# of HEAD; it ends make and its X server when interrupted).
play_and_close() {
  local clone=$root/root/vombapong
  setsid env PYTHONDONTWRITEBYTECODE=1 PYTHONPATH="$clone/tests" \
    /usr/bin/python3 -m vomba_desktop.watch_play \
    --facts "$clone/build/game_facts.json" --title-picture "$clone/build/game/Start.bmp" \
    --window-timeout "$PLAY_WINDOW_TIMEOUT_S" --exit-timeout "$PLAY_EXIT_TIMEOUT_S" \
    -- chroot "$root" "${CHROOT_ENV[@]}" 'DISPLAY={display}' \
    sh -c 'cd /root/vombapong && make play' &
  job_pid=$!
  local code=0
  wait "$job_pid" || code=$?
  job_pid=""
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
step "make play: title shown, closed, exit 0" play_and_close || failed=1

summary
if [ "$failed" -ne 0 ]; then
  echo "fresh-check FAILED"
  exit 1
fi
echo "fresh-check passed"
