#!/usr/bin/env bash
# SDL2 and SDL2_mixer built for a platform whose own libraries the machine
# does not have (Windows, the browser): from Debian's sources at the Linux
# build's versions (scripts/sdl-sources.sh), static, the mixer with WAV only
# and every other codec off, since the game plays nothing else. A build takes
# minutes, so it is kept in the cache outside the clone, keyed by target,
# toolchain and both versions:
#
#   $VOMBA_CACHE/sdl/<target>-<toolchain id>/<sdl version>_<mixer version>/
#       prefix/            what the game's build finds SDL2 and SDL2_mixer in,
#                          and their licences (prefix/licenses/)
#       build-<name>.log   how each was built
#       stamp              written last: a build that was cut short is done again
#
# Usage: scripts/cross-sdl.sh <target>   (win64: MinGW-w64; web: Emscripten)
# Prints the install prefix, for CMAKE_PREFIX_PATH.
set -euo pipefail

target=${1:-}
cache=${VOMBA_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/vombapong}
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/.." && pwd)
jobs=${JOBS:-$(nproc 2>/dev/null || echo 2)}

# What differs between targets: the tools it needs, the command that
# configures a CMake project for it, the toolchain's id in the cache's key,
# and SDL's own options.
case "$target" in
  win64)
    "$here/install-deps.sh" --windows >&2
    configure=(cmake -DCMAKE_TOOLCHAIN_FILE="$root/windows/mingw-w64-x86_64.cmake")
    # The Debian versions of the compiler and of the MinGW-w64 runtime.
    toolchain_id=mingw-gcc$(dpkg-query -W -f='${Version}' gcc-mingw-w64-x86-64-posix)-crt$(
      dpkg-query -W -f='${Version}' mingw-w64-x86-64-dev)
    sdl_options=()
    ;;
  web)
    "$here/install-deps.sh" --web >&2
    # Debian's Emscripten runs its JavaScript tools with the machine's node,
    # which finds Debian's node modules (acorn) only when told where they are.
    export NODE_PATH=/usr/share/nodejs${NODE_PATH:+:$NODE_PATH}
    toolchain_id=emscripten-$(sed -n 1p /usr/share/emscripten/emscripten-version.txt | tr -d '"')
    configure=(emcmake cmake)
    # No threads: a page gets them only when its server sends cross-origin
    # isolation headers, and SDL's Emscripten audio and video need none.
    sdl_options=(-DSDL_THREADS=OFF -DSDL_PTHREADS=OFF)
    ;;
  *)
    echo "usage: $0 <target>   (targets: win64, web)" >&2
    exit 2 ;;
esac

sources=$("$here/sdl-sources.sh") || { echo "cross-sdl: couldn't get SDL's sources" >&2; exit 1; }
{ read -r sdl_source; read -r mixer_source; } <<<"$sources"
# The folders are named <package>_<version>.
sdl_version=${sdl_source##*_}
mixer_version=${mixer_source##*_}
dest=$cache/sdl/$target-$toolchain_id/${sdl_version}_${mixer_version}
prefix=$dest/prefix

if [ ! -f "$dest/stamp" ]; then
  echo "cross-sdl: building SDL2 $sdl_version and SDL2_mixer $mixer_version for $target" \
       "into $dest (several minutes, once)" >&2
  rm -rf "$dest"
  mkdir -p "$dest"
  build() {  # <name> <source> <cmake options...>: configure, build niced, install
    local name=$1 source=$2
    shift 2
    nice "${configure[@]}" -S "$source" -B "$dest/build-$name" -DCMAKE_BUILD_TYPE=Release \
      -DCMAKE_INSTALL_PREFIX="$prefix" -DCMAKE_PREFIX_PATH="$prefix" \
      -DCMAKE_FIND_ROOT_PATH="$prefix" "$@" >"$dest/build-$name.log" 2>&1 &&
      nice cmake --build "$dest/build-$name" -j "$jobs" >>"$dest/build-$name.log" 2>&1 &&
      cmake --install "$dest/build-$name" >>"$dest/build-$name.log" 2>&1 ||
      { echo "cross-sdl: building $name failed; see $dest/build-$name.log" >&2; exit 1; }
  }
  build sdl2 "$sdl_source" -DSDL_SHARED=OFF -DSDL_STATIC=ON -DSDL_TEST=OFF -DSDL_TESTS=OFF \
    "${sdl_options[@]}"
  build sdl2_mixer "$mixer_source" -DBUILD_SHARED_LIBS=OFF -DSDL2MIXER_SAMPLES=OFF \
    -DSDL2MIXER_VENDORED=OFF -DSDL2MIXER_DEPS_SHARED=OFF -DSDL2MIXER_CMD=OFF \
    -DSDL2MIXER_FLAC=OFF -DSDL2MIXER_MOD=OFF -DSDL2MIXER_MP3=OFF -DSDL2MIXER_MIDI=OFF \
    -DSDL2MIXER_OPUS=OFF -DSDL2MIXER_VORBIS= -DSDL2MIXER_WAVE=ON
  rm -rf "$dest/build-sdl2" "$dest/build-sdl2_mixer"
  # The licences of what a port links in, for whoever ships it: Debian's
  # copyright files, which cover every part of the sources (SDL's own code is
  # under the zlib licence, some of what it contains under others).
  mkdir -p "$prefix/licenses"
  cp "$sdl_source/debian/copyright" "$prefix/licenses/SDL2.txt"
  cp "$mixer_source/debian/copyright" "$prefix/licenses/SDL2_mixer.txt"
  date -u +%FT%TZ >"$dest/stamp"
fi
echo "$prefix"
