#!/usr/bin/env bash
# SDL2 and SDL2_mixer built for a platform that has no Debian package of them
# to link against (Windows, the browser), from Debian's own sources at the
# Linux build's versions (scripts/sdl-sources.sh). A build takes minutes, so
# it is done once and kept in the cache outside the clone, keyed by target,
# toolchain and the two versions:
#
#   $VOMBA_CACHE/sdl/<target>-<toolchain id>/<sdl version>_<mixer version>/
#
# The stamp file .built is written last: a build that was interrupted has
# none and is done again from the start. Prints the prefix, which holds both
# libraries and their CMake files, for CMAKE_PREFIX_PATH.
#
# Usage: scripts/cross-sdl.sh <target>     targets: win64
set -euo pipefail

target=${1:-}
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/.." && pwd)
cache=${VOMBA_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/vombapong}
jobs=${JOBS:-$(nproc 2>/dev/null || echo 2)}

# What differs between targets: the tools it needs, the command that
# configures a CMake project for it, the toolchain's id in the cache's key,
# and SDL's own options.
case "$target" in
  win64)
    "$here/install-deps.sh" --windows >&2
    configure=(cmake -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake")
    # The Debian versions of the compiler and of the MinGW-w64 runtime.
    toolchain_id=mingw-gcc$(dpkg-query -W -f='${Version}' gcc-mingw-w64-x86-64-posix)-crt$(
      dpkg-query -W -f='${Version}' mingw-w64-x86-64-dev)
    # Linked into the game's one .exe: no DLLs to ship beside it.
    sdl_options=(-DSDL_SHARED=OFF -DSDL_STATIC=ON)
    ;;
  *)
    echo "usage: $0 <target>   (targets: win64)" >&2
    exit 2 ;;
esac

sources=$("$here/sdl-sources.sh")
sdl_source=$(sed -n 1p <<<"$sources")
mixer_source=$(sed -n 2p <<<"$sources")
# The folders are named <package>_<version>.
prefix=$cache/sdl/$target-$toolchain_id/${sdl_source##*_}_${mixer_source##*_}
stamp=$prefix/.built

if [ -f "$stamp" ]; then
  echo "$prefix"
  exit 0
fi

echo "cross-sdl: building SDL2 and SDL2_mixer for $target into $prefix" >&2
started=$(date +%s)
rm -rf "$prefix"
work=$(mktemp -d "${TMPDIR:-/tmp}/vombapong-cross-sdl-XXXXXX")
trap 'rm -rf "$work"' EXIT

# build <source> <build folder> <options...>: configure, build niced on every
# core, install into the prefix.
build() {
  local source=$1 folder=$2
  shift 2
  nice "${configure[@]}" -S "$source" -B "$work/$folder" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_INSTALL_PREFIX="$prefix" -DCMAKE_PREFIX_PATH="$prefix" "$@" >&2
  nice cmake --build "$work/$folder" -j "$jobs" >&2
  cmake --install "$work/$folder" >&2
}

build "$sdl_source" sdl -DSDL_TEST=OFF "${sdl_options[@]}"
# The game plays WAV files only: every other codec is left out, so nothing
# else is needed or linked.
build "$mixer_source" mixer -DBUILD_SHARED_LIBS=OFF -DSDL2MIXER_SAMPLES=OFF \
  -DSDL2MIXER_VENDORED=OFF -DSDL2MIXER_CMD=OFF -DSDL2MIXER_FLAC=OFF -DSDL2MIXER_MOD=OFF \
  -DSDL2MIXER_MP3=OFF -DSDL2MIXER_MIDI=OFF -DSDL2MIXER_OPUS=OFF -DSDL2MIXER_VORBIS= \
  -DSDL2MIXER_WAVE=ON

# The licences of what the game links in, for whoever ships it: Debian's
# copyright files, which cover every part of the sources (SDL's own code is
# under the zlib licence, some of what it contains under others).
mkdir -p "$prefix/licenses"
cp "$sdl_source/debian/copyright" "$prefix/licenses/SDL2.txt"
cp "$mixer_source/debian/copyright" "$prefix/licenses/SDL2_mixer.txt"

touch "$stamp"
echo "cross-sdl: done in $(($(date +%s) - started)) s" >&2
echo "$prefix"
