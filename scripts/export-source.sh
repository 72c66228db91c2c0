#!/usr/bin/env bash
# Copies the project's source, as git sees it, into a new folder for a
# package build: the tracked files and the untracked ones that are not
# ignored, with the working tree's changes, and none of the build folders.
# Every file gets the changelog's date and the modes 644 or 755, so that the
# source package made from the copy is the same whoever made it, whenever,
# under whichever umask.
#
# A release takes one commit's tracked files instead, and nothing else:
#
#   scripts/export-source.sh DEST                # DEST must not exist yet
#   scripts/export-source.sh --commit REV DEST   # what git archive REV holds
set -euo pipefail

commit=
if [ "${1:-}" = --commit ] && [ $# -ge 2 ]; then
  commit=$2
  shift 2
fi
[ $# -eq 1 ] || { echo "usage: $0 [--commit REV] DEST" >&2; exit 2; }
dest=$1
repo=$(cd "$(dirname "$0")/.." && pwd)

if ! git -C "$repo" rev-parse --is-inside-work-tree >/dev/null 2>&1; then
  echo "export-source: $repo is not a git checkout, so which files are the source is" \
       "not known; build the package from a clone" >&2
  exit 1
fi
if [ -e "$dest" ]; then
  echo "export-source: $dest exists already; give a new folder" >&2
  exit 1
fi
# SOURCE_DATE_EPOCH as dpkg-buildpackage sets it: the newest changelog entry's time.
stamp=$(dpkg-parsechangelog --file "$repo/debian/changelog" --show-field Timestamp)

# Folders that tar makes on the way get the same mode under any umask.
umask 022
mkdir -p "$dest"
if [ -n "$commit" ]; then
  rev=$(git -C "$repo" rev-parse --verify --quiet "$commit^{commit}") || {
    echo "export-source: $commit is not a commit of $repo" >&2
    exit 1
  }
  git -C "$repo" archive --format=tar "$rev" |
    tar -C "$dest" --no-same-owner --no-same-permissions --warning=no-timestamp -xf -
  chmod -R u+rw,go=rX,a-s "$dest"
  stamp=$(dpkg-parsechangelog --file "$dest/debian/changelog" --show-field Timestamp)
  find "$dest" -exec touch --no-dereference --date="@$stamp" {} +
  exit 0
fi
# Files deleted in the working tree but not yet in git are listed and skipped.
git -C "$repo" ls-files -z --cached --others --exclude-standard |
  tar -C "$repo" --ignore-failed-read --sort=name --owner=0 --group=0 --numeric-owner \
      --mode=u+rw,go=rX,a-s --mtime="@$stamp" --warning=no-failed-read \
      --no-recursion --null --files-from=- -cf - |
  tar -C "$dest" --preserve-permissions --no-same-owner --warning=no-timestamp -xf -
find "$dest" -type d -exec touch --no-dereference --date="@$stamp" {} +
