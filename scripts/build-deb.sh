#!/usr/bin/env bash
# Builds the source package and the binary packages from debian/ on this
# machine, with the Build-Depends it has: what `make test` checks with
# lintian and installs. The source is a fresh copy of the working tree
# (scripts/export-source.sh), so the checkout itself stays clean. `make
# package` builds from the same debian/ in a clean Debian 12 root instead.
#
#   scripts/build-deb.sh OUTDIR           # with the build's own tests
#   scripts/build-deb.sh --nocheck OUTDIR # without: `make test` runs them itself
#
# OUTDIR receives vombapong_<version>.dsc and .tar.xz, the .deb files, the
# .buildinfo, the .changes and the build's log, vombapong-build.log; any
# older ones there are removed first.
set -euo pipefail

nocheck=no
if [ "${1:-}" = --nocheck ]; then
  nocheck=yes
  shift
fi
[ $# -eq 1 ] || { echo "usage: $0 [--nocheck] OUTDIR" >&2; exit 2; }
here=$(cd "$(dirname "$0")" && pwd)
mkdir -p "$1"
out=$(cd "$1" && pwd)
version=$(dpkg-parsechangelog --file "$here/../debian/changelog" --show-field Version)

work=$(mktemp -d "$out/src.XXXXXX")
trap 'rm -rf "$work"' EXIT
tree=$work/vombapong-$version
"$here/export-source.sh" "$tree"

if [ "$nocheck" = yes ]; then
  export DEB_BUILD_OPTIONS="nocheck ${DEB_BUILD_OPTIONS:-}"
  export DEB_BUILD_PROFILES="nocheck ${DEB_BUILD_PROFILES:-}"
fi
rm -f "$out"/vombapong_* "$out"/vombapong-dbgsym_* "$out/vombapong-build.log"
echo "build-deb: dpkg-buildpackage in $tree (log: $out/vombapong-build.log)"
if ! (cd "$tree" && dpkg-buildpackage --unsigned-source --unsigned-changes -jauto) \
    >"$out/vombapong-build.log" 2>&1; then
  tail -n 40 "$out/vombapong-build.log" >&2
  echo "build-deb: dpkg-buildpackage failed; the whole log is $out/vombapong-build.log" >&2
  exit 1
fi
mv "$work"/vombapong_* "$work"/vombapong-dbgsym_* "$out"/
ls -l "$out" | grep -E 'vombapong(-dbgsym)?_'
