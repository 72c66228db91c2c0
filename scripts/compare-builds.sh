#!/usr/bin/env bash
# Compares two builds' files byte for byte: every file of FIRST that matches
# one of the patterns must be in SECOND with the same sha256. Where one
# differs, diffoscope writes where, into DIFFDIR/diffoscope-<file>.txt (the
# first 60 lines are shown). Exit 1 when any file differs or is missing.
#
#   scripts/compare-builds.sh FIRST SECOND DIFFDIR PATTERN...   # e.g. '*.deb' '*.dsc'
set -euo pipefail

[ $# -ge 4 ] || { echo "usage: $0 FIRST SECOND DIFFDIR PATTERN..." >&2; exit 2; }
first_dir=$1 second_dir=$2 diff_dir=$3
shift 3

echo "The two builds, file by file (sha256):"
different=0 compared=0
for pattern in "$@"; do
  for first in "$first_dir"/$pattern; do
    [ -f "$first" ] || continue
    compared=$((compared + 1))
    name=$(basename "$first")
    second=$second_dir/$name
    if [ ! -f "$second" ]; then
      echo "  $name: only in the first build"
      different=1
      continue
    fi
    sum=$(sha256sum <"$first" | cut -d' ' -f1)
    if [ "$sum" = "$(sha256sum <"$second" | cut -d' ' -f1)" ]; then
      echo "  $name: equal, $(stat -c %s "$first") bytes, $sum"
    else
      mkdir -p "$diff_dir"
      echo "  $name: DIFFERENT; diffoscope writes $diff_dir/diffoscope-$name.txt"
      diffoscope --text "$diff_dir/diffoscope-$name.txt" "$first" "$second" >/dev/null || true
      head -n 60 "$diff_dir/diffoscope-$name.txt"
      different=1
    fi
  done
done
if [ "$compared" -eq 0 ]; then
  echo "compare-builds: no file of $first_dir matches $*"
  exit 1
fi
[ "$different" -eq 0 ]
