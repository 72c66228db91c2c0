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
# Takes 10-20 minutes; not part of `make test`. Uncommitted changes are not
# part of the check: it clones HEAD.
set -euo pipefail

SUITE=bookworm
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
job_pid=""  # what runs inside the root now, in a session of its own

# Every mount point at or below the root, deepest first (ours and any that an
# interrupted mmdebstrap left).
mounts_below_root() {
  awk -v root="$root" '$5 == root || index($5, root "/") == 1 { print $5 }' /proc/self/mountinfo |
    sort -r
}

cleanup() {
  local code=$?
  trap - EXIT INT TERM
  set +e
  [ -n "$job_pid" ] && kill -TERM -- "-$job_pid" 2>/dev/null
  # Whatever still runs inside the root was started from here (the tests
  # start X servers in sessions of their own): end each by its id.
  local pid link
  for link in /proc/[0-9]*/root; do
    pid=${link#/proc/}; pid=${pid%/root}
    [ "$(readlink "$link" 2>/dev/null)" = "$root" ] && kill -KILL "$pid" 2>/dev/null
  done
  local mount
  for mount in $(mounts_below_root); do umount -l "$mount"; done
  if [ -n "$(mounts_below_root)" ]; then
    echo "fresh-machine-check: mounts remain below $root; left $work for you to remove" >&2
  else
    rm -rf --one-file-system "$work"
  fi
  exit "$code"
}
trap cleanup EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

# ----- timing ------------------------------------------------------------------

declare -a step_names=() step_seconds=() step_results=()

# step NAME COMMAND...: runs COMMAND, records its time and result; returns its code.
step() {
  local name=$1 started code=0
  shift
  say "step: $name"
  started=$(date +%s)
  "$@" || code=$?
  step_names+=("$name")
  step_seconds+=($(($(date +%s) - started)))
  if [ "$code" -eq 0 ]; then step_results+=("ok"); else step_results+=("FAILED ($code)"); fi
  say "step: $name: ${step_results[-1]} in ${step_seconds[-1]} s"
  return "$code"
}

summary() {
  echo
  echo "fresh-check of $head on a bare Debian 12 ($SUITE, minbase):"
  local i
  for i in "${!step_names[@]}"; do
    printf '  %-44s %6s s  %s\n' "${step_names[$i]}" "${step_seconds[$i]}" "${step_results[$i]}"
  done
}

# ----- the bare system -----------------------------------------------------------

make_root() {
  mmdebstrap --variant=minbase "$SUITE" "$root"
}

# The system's file systems inside the root, the host's name server, and the
# repository the newcomer clones from: HEAD alone, as a branch of a bare repository.
prepare_root() {
  local fs
  for fs in proc dev dev/pts sys; do
    mount --bind "/$fs" "$root/$fs" || return 1
  done
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
