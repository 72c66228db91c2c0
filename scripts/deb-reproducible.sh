#!/usr/bin/env bash
# Builds the packages twice, each time in a fresh Debian 12 root, the second
# with another build path, a clock 400 days on, umask 002, another locale and
# timezone (scripts/deb-clean-root.sh build --vary), and checks that every
# .deb comes out byte for byte the same. Where one differs, diffoscope shows
# where, in OUTDIR/diffoscope-<file>.txt. The source package is compared too.
#
#   scripts/deb-reproducible.sh OUTDIR    # OUTDIR/first, OUTDIR/second
#
# Needs root; two whole clean-root builds, so it takes a while.
set -euo pipefail

[ $# -eq 1 ] || { echo "usage: $0 OUTDIR" >&2; exit 2; }
here=$(cd "$(dirname "$0")" && pwd)
mkdir -p "$1"
out=$(cd "$1" && pwd)

"$here/deb-clean-root.sh" build "$out/first"
"$here/deb-clean-root.sh" build --vary "$out/second"

echo
if ! "$here/compare-builds.sh" "$out/first" "$out/second" "$out" '*.deb' '*.dsc' '*.tar.*'; then
  echo "deb-reproducible: the two builds differ"
  exit 1
fi
echo "deb-reproducible: the two builds gave the same files"
