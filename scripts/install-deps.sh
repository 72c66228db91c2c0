#!/usr/bin/env bash
# Installs the Debian/Ubuntu packages that building, playing and testing need,
# but only those that are missing, so a second run costs nothing.
set -euo pipefail

# xfonts-base: SDL's message box, the game's only word to a player who started
# it from a menu, draws its text with X core fonts, which an X server reads
# from the machine it runs on. Installing an X server without its recommended
# packages leaves them out, and the box then cannot open.
play=(cmake make g++ pkg-config libsdl2-dev libsdl2-mixer-dev xfonts-base)
case "${1:-}" in
  "")
    want=("${play[@]}") ;;
  --test)
    want=("${play[@]}" googletest libgtest-dev libbenchmark-dev xvfb xdotool python3 python3-xlib
          python3-pil imagemagick sox x11-utils valgrind mesa-utils
          # The Debian package built from debian/ (dpkg-dev, debhelper, and
          # build-essential, which dpkg-buildpackage requires of every build) and its
          # checkers: lintian, autopkgtest with what debian/tests needs (xauth
          # for xvfb-run), and the validators of the desktop entry, the
          # metainfo and the manual page.
          build-essential dpkg-dev debhelper lintian autopkgtest xauth appstream desktop-file-utils man-db
          # The game's page: Debian's Chromium, headless, spoken to over its
          # DevTools protocol on a pipe (tests/web/); and the frame cases in
          # both browsers, driven by puppeteer-core from npm.
          chromium firefox-esr nodejs)
    npm_modules=yes ;;
  --web)
    # make web: Debian's Emscripten (its system libraries come prebuilt, so
    # it compiles offline) and what scripts/cross-sdl.sh builds SDL with.
    want=(cmake make emscripten) ;;
  --bench)
    # make bench builds everything, tests included, and plays the game under Xvfb;
    # and the page in Debian's two browsers, driven by puppeteer-core from npm
    # (tests/web's lock file).
    want=("${play[@]}" googletest libgtest-dev libbenchmark-dev xvfb xdotool python3 python3-xlib
          python3-pil chromium firefox-esr nodejs)
    npm_modules=yes ;;
  --sdl-sources)
    # scripts/sdl-sources.sh: apt-get source unpacks with dpkg-source.
    want=(dpkg-dev libsdl2-dev libsdl2-mixer-dev) ;;
  --windows)
    # make windows: the MinGW-w64 cross compilers (their -posix variants) and
    # Wine, which runs the cross-built generator and the game in the tests.
    want=(g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 wine64 cmake make) ;;
  --package)
    # make package and make package-check: the clean root is made with
    # mmdebstrap, its results checked with lintian and autopkgtest and, where
    # two builds differ, shown with diffoscope. The build itself installs
    # nothing here.
    want=(mmdebstrap dpkg-dev lintian autopkgtest diffoscope-minimal) ;;
  --fresh-check)
    # Only the host's part of scripts/fresh-machine-check.sh: it makes the bare
    # root, and runs the display that the game inside it is shown on.
    want=(mmdebstrap xvfb python3 python3-xlib python3-pil) ;;
  *)
    echo "usage: $0 [--test | --bench | --windows | --web | --package | --fresh-check | --sdl-sources]" >&2
    exit 2 ;;
esac

# Only an npm that did not come with the machine's node is Debian's to install.
if [ -n "${npm_modules:-}" ] && ! command -v npm >/dev/null 2>&1; then want+=(npm); fi

# The pinned npm modules, once the packages are in.
install_npm_modules() {
  [ -n "${npm_modules:-}" ] || return 0
  local web
  web="$(cd "$(dirname "$0")/.." && pwd)/tests/web"
  [ -d "$web/node_modules/puppeteer-core" ] && return 0
  echo "Installing the npm modules of $web (npm ci)"
  npm ci --prefix "$web" --no-audit --no-fund
}

missing=()
for pkg in "${want[@]}"; do
  dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed" || missing+=("$pkg")
done
if [ ${#missing[@]} -eq 0 ]; then
  install_npm_modules
  exit 0
fi

echo "Installing missing packages: ${missing[*]}"
if [ "$(id -u)" -eq 0 ]; then
  run=()
elif command -v sudo >/dev/null 2>&1; then
  run=(sudo)
else
  echo "error: these packages are missing and this user cannot install them: ${missing[*]}" >&2
  echo "Run as root:  apt-get update && apt-get install -y ${missing[*]}" >&2
  exit 1
fi
if ! command -v apt-get >/dev/null 2>&1; then
  echo "error: apt-get not found; install these packages by hand: ${missing[*]}" >&2
  exit 1
fi
export DEBIAN_FRONTEND=noninteractive
"${run[@]}" apt-get -o DPkg::Lock::Timeout=900 update -qq
"${run[@]}" apt-get -o DPkg::Lock::Timeout=900 install -y -qq --no-install-recommends "${missing[@]}"
install_npm_modules
