# Sourced by the scripts that work in a Debian root of their own: timed steps
# with a summary, the system's folders mounted in the root, and the root taken
# down again. Not a command.

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

# step_summary TITLE [TOTAL_SECONDS]: every step's time and result.
step_summary() {
  echo
  echo "$1:"
  local i
  for i in "${!step_names[@]}"; do
    printf '  %-48s %6s s  %s\n' "${step_names[$i]}" "${step_seconds[$i]}" "${step_results[$i]}"
  done
  [ -z "${2:-}" ] || printf '  %-48s %6s s\n' "all of it" "$2"
}

# Every mount point at or below ROOT, deepest first (ours, and any that an
# interrupted mmdebstrap left).
mounts_below() {
  awk -v root="$1" '$5 == root || index($5, root "/") == 1 { print $5 }' /proc/self/mountinfo |
    sort -r
}

mount_system_folders() {
  local fs
  for fs in proc dev dev/pts sys; do
    mount --bind "/$fs" "$1/$fs" || return 1
  done
}

# take_down_root ROOT WORK: ends what still runs inside ROOT (only the script
# that made it starts anything there), unmounts, and removes WORK with ROOT in it.
take_down_root() {
  local root=$1 work=$2 link pid mount
  for link in /proc/[0-9]*/root; do
    pid=${link#/proc/}; pid=${pid%/root}
    [ "$(readlink "$link" 2>/dev/null)" = "$root" ] && kill -KILL "$pid" 2>/dev/null
  done
  for mount in $(mounts_below "$root"); do umount -l "$mount"; done
  if [ -n "$(mounts_below "$root")" ]; then
    echo "mounts remain below $root; left $work for you to remove" >&2
    return 1
  fi
  rm -rf --one-file-system "$work"
}
