#!/usr/bin/env bash
# Checks a release as the one who downloads it would, with the tests that
# already check each of its files, run from the release's own source package:
#
#   1. every file copied into a fresh folder, SHA256SUMS checked, and nothing
#      there that the sums leave out; the source package unpacked (dpkg-source
#      checks the .dsc's own sums), and the two zips;
#   2. the .deb installed in a clean Debian 12 root, where debian/tests starts
#      the game (autopkgtest, scripts/deb-clean-root.sh autopkgtest);
#   3. the Windows zip under Wine to the court (tests/windows/, `windows`);
#   4. the unpacked site served and played in headless Chromium (tests/web/, `web`).
#
#   scripts/release-check.sh RELEASEDIR     # e.g. build/release/VombaPong-1.0.0
#
# Needs root (the clean root). Prints each step's time; the fresh folder is
# removed when every step passed, and kept to look at when one did not.
set -euo pipefail

say() { echo "[release-check $(date +%H:%M:%S)] $*"; }
[ $# -eq 1 ] || { echo "usage: $0 RELEASEDIR" >&2; exit 2; }
[ -f "$1/SHA256SUMS" ] || { echo "release-check: no $1/SHA256SUMS: make release first" >&2; exit 2; }
release=$(cd "$1" && pwd)
release_name=$(basename "$release")
version=${release_name#VombaPong-}
fresh=$(mktemp -d /var/tmp/vombapong-release-check-XXXXXX)
# shellcheck source=scripts/root-steps.sh
. "$(dirname "$0")/root-steps.sh"

download=$fresh/download
source=$fresh/source
checks() {
  echo "cd $fresh/build && ctest --output-on-failure --no-tests=error -L $1"
  ctest --test-dir "$fresh/build" --output-on-failure --no-tests=error -L "$1"
}

sums() {
  mkdir "$download" && cp "$release"/* "$download"/ &&
    (cd "$download" && sha256sum --strict --check SHA256SUMS) || return 1
  local file unlisted=0
  for file in "$download"/*; do
    case ${file##*/} in SHA256SUMS | RELEASE-NOTES.md) continue ;; esac
    grep -q "  ${file##*/}\$" "$download/SHA256SUMS" || { echo "${file##*/} has no sum"; unlisted=1; }
  done
  return "$unlisted"
}

unpack() {
  dpkg-source --extract "$download/vombapong_$version.dsc" "$source" &&
    python3 -m zipfile --extract "$download/$release_name-win64.zip" "$fresh/windows" &&
    python3 -m zipfile --extract "$download/$release_name-web.zip" "$fresh/web" || return 1
  # The version everywhere a downloader sees it.
  [ "$(cat "$source/VERSION")" = "$version" ] &&
    [ "$(dpkg-deb --field "$download"/vombapong_"$version"_amd64.deb Version)" = "$version" ] &&
    grep -q "<meta name=\"version\" content=\"$version\">" "$fresh/web/$release_name-web/index.html" &&
    [ -f "$fresh/windows/$release_name-win64/VombaPong.exe" ] || {
    echo "the source's VERSION, the .deb's Version, the page or the Windows folder is not $version"
    return 1
  }
}

installed() {
  mkdir "$fresh/deb" &&
    ln "$download/vombapong_$version.dsc" "$download/vombapong_$version.tar.xz" \
      "$download"/vombapong_"$version"_amd64.deb "$fresh/deb"/ &&
    "$source/scripts/deb-clean-root.sh" autopkgtest "$fresh/deb"
}

# The windows and web cases of the release's own source, pointed at the files
# downloaded: they compare them with the game files its generator draws here.
test_build() {
  "$source/scripts/install-deps.sh" --test &&
    cmake -S "$source" -B "$fresh/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVOMBA_BENCH=OFF \
      -DVOMBA_WINDOWS_ZIP="$download/$release_name-win64.zip" -DVOMBA_WEB_SITE="$fresh/web/$release_name-web" &&
    cmake --build "$fresh/build" -j 2 --target vomba_assets
}

started=$(date +%s)
say "checking $release in $fresh"
code=0
step "SHA256SUMS in a fresh folder" sums &&
  step "unpacked: source package and zips" unpack &&
  step "the .deb in a clean root (autopkgtest)" installed &&
  step "the game files to compare with" test_build &&
  step "the Windows zip under Wine (ctest -L windows)" checks windows &&
  step "the site in Chromium (ctest -L web)" checks web || code=1
step_summary "make release-check of $release_name" "$(($(date +%s) - started))"
if [ "$code" -ne 0 ]; then
  echo "release-check: FAILED; the fresh folder is kept: $fresh"
  exit 1
fi
rm -rf "$fresh"
echo "release-check: $release_name passed every check"
