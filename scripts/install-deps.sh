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
          # The game's page in Debian's two browsers, headless, driven with
          # puppeteer-core from npm (tests/web/, installed below).
          chromium firefox-esr)
    browser_driver=yes ;;
  --web)
    # make web: Debian's Emscripten (its system libraries come prebuilt, so
    # it compiles offline) and what scripts/cross-sdl.sh builds SDL with.
    want=(cmake make emscripten) ;;
  --bench)
    # make bench builds everything, tests included, and plays the game under
    # Xvfb; and the page in Debian's two browsers, driven as the tests drive it.
    want=("${play[@]}" googletest libgtest-dev libbenchmark-dev xvfb xdotool python3 python3-xlib
          python3-pil chromium firefox-esr)
    browser_driver=yes ;;
  --sdl-sources)
    # scripts/sdl-sources.sh: apt-get source unpacks with dpkg-source.
    want=(dpkg-dev libsdl2-dev libsdl2-mixer-dev) ;;
  --windows)
    # make windows: the MinGW-w64 cross compilers (their -posix variants) and
    # Wine, which runs the cross-built generator and the game in the tests.
    want=(g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 wine64 cmake make python3) ;;
  --package)
    # make package and make package-check: the clean root is made with
    # mmdebstrap, its results checked with lintian and autopkgtest and, where
    # two builds differ, shown with diffoscope. The build itself installs
    # nothing here.
    want=(mmdebstrap dpkg-dev lintian autopkgtest diffoscope-minimal) ;;
  --release)
    # make release and make release-check, beside what the package, Windows and
    # web builds install themselves: git to export the commit, python3 to pack
    # the zips, and for the varied second build libfaketime and the locales'
    # sources; the clean root's tools and diffoscope for any difference.
    want=(git python3 faketime locales mmdebstrap dpkg-dev lintian autopkgtest diffoscope-minimal) ;;
  --fresh-check)
    # Only the host's part of scripts/fresh-machine-check.sh: it makes the bare
    # root, and runs the display that the game inside it is shown on.
    want=(mmdebstrap xvfb python3 python3-xlib python3-pil) ;;
  *)
    echo "usage: $0 [--test | --bench | --windows | --web | --package | --release | --fresh-check | --sdl-sources]" >&2
    exit 2 ;;
esac

# Debian's node and npm for the browser driver, unless the machine has a node of its own.
if [ -n "${browser_driver:-}" ]; then
  command -v node >/dev/null 2>&1 || want+=(nodejs)
  command -v npm >/dev/null 2>&1 || want+=(npm)
fi

missing=()
for pkg in "${want[@]}"; do
  dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed" || missing+=("$pkg")
done
# puppeteer-core at the version tests/web/package-lock.json pins, into
# tests/web/node_modules: once, and again whenever the lock file changes.
install_browser_driver() {
  [ -n "${browser_driver:-}" ] || return 0
  local web
  web="$(cd "$(dirname "$0")/.." && pwd)/tests/web"
  [ "$web/node_modules/.package-lock.json" -nt "$web/package-lock.json" ] && return 0
  echo "Installing the browser driver: npm ci --prefix tests/web"
  npm ci --prefix "$web" --no-audit --no-fund
}

if [ ${#missing[@]} -eq 0 ]; then
  install_browser_driver
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
install_browser_driver
