#!/usr/bin/env bash
# The sources of SDL2 and SDL2_mixer for the builds that cannot use the
# machine's own libraries (Windows, the browser): Debian's source packages, at
# exactly the versions the Linux build links against, fetched with
# `apt-get source`, which checks them against the archive's signed index.
# They are unpacked once into the cache, keyed by package and version:
#
#   $VOMBA_CACHE/src/<package>_<version>/     (default ~/.cache/vombapong)
#
# Prints the two source folders, SDL2's on the first line, the mixer's on the
# second. Needs root or sudo the first time, to add the archive's deb-src entry.
set -euo pipefail

cache=${VOMBA_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/vombapong}
here=$(cd "$(dirname "$0")" && pwd)
"$here/install-deps.sh" --sdl-sources >&2

as_root() {
  if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

# The source package and version behind an installed -dev package.
source_of() {
  dpkg-query -W -f='${source:Package} ${source:Version}' "$1" 2>/dev/null ||
    { echo "sdl-sources: $1 is not installed (make play installs it)" >&2; exit 1; }
}

# apt knows source packages only from deb-src entries: one beside every
# Debian or Ubuntu archive entry that the machine already trusts.
add_deb_src_entries() {
  local list=/etc/apt/sources.list.d/vombapong-deb-src.sources
  [ -e "$list" ] && return 0
  local entries
  # No .sources file at all is no entry, not a failure: the older format follows.
  entries=$( { cat /etc/apt/sources.list.d/*.sources 2>/dev/null || true; } |
    awk 'BEGIN { RS = ""; ORS = "\n\n" }
         /Types:[^\n]*deb/ && /(debian|ubuntu)/ { sub(/Types:[^\n]*/, "Types: deb-src"); print }')
  if [ -z "$entries" ] && [ -e /etc/apt/sources.list ]; then
    # The older one-line format.
    entries=$(awk '$1 == "deb" && /(debian|ubuntu)/ { $1 = "deb-src"; print }' /etc/apt/sources.list)
    list=/etc/apt/sources.list.d/vombapong-deb-src.list
  fi
  [ -n "$entries" ] || { echo "sdl-sources: no Debian or Ubuntu archive in apt's sources" >&2; exit 1; }
  echo "sdl-sources: adding deb-src entries for apt ($list)" >&2
  printf '%s\n' "$entries" | as_root tee "$list" >/dev/null
  as_root apt-get update -qq >&2
}

# Unpacks one source package into the cache unless it is there already.
unpack() {
  local package=$1 version=$2
  local dest=$cache/src/${package}_${version}
  if [ ! -f "$dest/.unpacked" ]; then
    add_deb_src_entries
    local work
    # apt downloads as its own unprivileged user, which must be able to write
    # there: not in a home folder.
    work=$(mktemp -d /tmp/vombapong-sdl-sources-XXXXXX)
    if [ "$(id -u)" -eq 0 ] && id _apt >/dev/null 2>&1; then chown _apt "$work"; fi
    (cd "$work" && apt-get source -qq --only-source "$package=$version" >&2) ||
      { rm -rf "$work"; echo "sdl-sources: couldn't fetch $package $version" >&2; exit 1; }
    rm -rf "$dest"
    mv "$work/$(cd "$work" && ls -d -- */ | head -n 1)" "$dest"
    rm -rf "$work"
    touch "$dest/.unpacked"
  fi
  echo "$dest"
}

mkdir -p "$cache/src"
read -r sdl_package sdl_version <<<"$(source_of libsdl2-dev)"
read -r mixer_package mixer_version <<<"$(source_of libsdl2-mixer-dev)"
unpack "$sdl_package" "$sdl_version"
unpack "$mixer_package" "$mixer_version"
