#!/usr/bin/env bash
# Builds every file a release of VombaPong publishes, from the last commit's
# tracked files alone, into OUTROOT/VombaPong-<version>/:
#
#   vombapong_<version>.dsc, .tar.xz, _amd64.deb   Debian's source package and
#       the .deb, from the clean-root build (scripts/deb-clean-root.sh)
#   VombaPong-<version>-win64.zip                  the Windows zip (make windows)
#   VombaPong-<version>-web.zip                    the site (make web), zipped
#   SHA256SUMS, RELEASE-NOTES.md                   the sums; what is new
#       (CHANGELOG.md), what each file is for, how to check the sums
#
# Every file is the same bytes from the same commit: the zips date their
# files SOURCE_DATE_EPOCH, the last commit's time.
#
#   scripts/release.sh OUTROOT
#   scripts/release.sh --vary [--compare DIR] OUTROOT   # the same from another
#       path, with a clock 400 days on, umask 002, a French Swiss locale and a
#       timezone 14 hours east (as make package-check varies its second build);
#       then every file compared with DIR's, diffoscope showing any difference
#
# Refuses a working tree with changes no commit holds. Needs root (the clean
# root). Prints each step's time; the scratch folder OUTROOT/work* is removed
# after a build that worked.
set -euo pipefail

say() { echo "[release $(date +%H:%M:%S)] $*"; }
refuse() { echo "release: $*" >&2; exit 2; }

vary=no compare=
while [ $# -gt 1 ]; do
  case $1 in
    --vary) vary=yes; shift ;;
    --compare) compare=$(cd "$2" && pwd) || refuse "no folder $2 to compare with"; shift 2 ;;
    *) break ;;
  esac
done
[ $# -eq 1 ] || refuse "usage: $0 [--vary] [--compare DIR] OUTROOT"
here=$(cd "$(dirname "$0")" && pwd)
repo=$(cd "$here/.." && pwd)
[ "$(id -u)" -eq 0 ] || refuse "needs root: the Debian packages are built in a clean root (run: sudo make release)"

dirty=$(git -C "$repo" status --porcelain --untracked-files=normal)
if [ -n "$dirty" ]; then
  echo "release: refused: a release is built from a commit alone, and $repo holds" \
       "changes that no commit does. Commit them, or stash or remove them, and run it again:" >&2
  echo "$dirty" | sed 's/^/  /' >&2
  exit 1
fi
commit=$(git -C "$repo" rev-parse HEAD)
version=$(git -C "$repo" show "$commit:VERSION")
release_name=VombaPong-$version
SOURCE_DATE_EPOCH=$(git -C "$repo" log -1 --format=%ct "$commit")
export SOURCE_DATE_EPOCH
python3 "$repo/tests/release/test_versions.py" --source-dir "$repo" --cmake-version "$version" ||
  refuse "the version is not the same everywhere: start it with scripts/new-version.py"

mkdir -p "$1"
outroot=$(cd "$1" && pwd)
out=$outroot/$release_name
work=$outroot/work
varied=()
deb_options=()
if [ "$vary" = yes ]; then
  work=$outroot/work-in/another/and/longer/path
  deb_options=(--vary)
fi
rm -rf "$out" "$outroot/work" "$outroot/work-in"
mkdir -p "$out" "$work"
# shellcheck source=scripts/root-steps.sh
. "$here/root-steps.sh"

# The Windows and web builds run on this machine; varied, under the same
# changes as the second clean-root build. The locale is made for the build
# alone (LOCPATH), so the machine's own stays as it is.
if [ "$vary" = yes ]; then
  mkdir -p "$work/locale"
  localedef -i fr_CH -f UTF-8 "$work/locale/fr_CH.UTF-8" 2>/dev/null || [ -d "$work/locale/fr_CH.UTF-8" ] ||
    refuse "localedef could not make the fr_CH.UTF-8 locale (apt-get install locales)"
  varied=(env LOCPATH="$work/locale" LANG=fr_CH.UTF-8 LC_ALL=fr_CH.UTF-8 TZ=XKT-14
          LD_PRELOAD="$(echo /usr/lib/*/faketime/libfaketime.so.1)" FAKETIME=+400d)
fi
on_this_machine() {
  "${varied[@]}" bash -c "umask $([ "$vary" = yes ] && echo 002 || echo 022); \"\$@\"" - "$@"
}

export_source() { "$here/export-source.sh" --commit "$commit" "$work/source"; }
debian_packages() {
  "$here/deb-clean-root.sh" build "${deb_options[@]}" --commit "$commit" "$work/deb"
}
windows_zip() { on_this_machine make -C "$work/source" windows WINDOWS_BUILD="$work/windows" JOBS=2; }
web_site() { on_this_machine make -C "$work/source" web WEB_BUILD="$work/web" JOBS=2; }

release_notes() {
  local day
  day=$(sed -n "s/^## $version (\(.*\))\$/\1/p" "$work/source/CHANGELOG.md")
  [ -n "$day" ] || { echo "CHANGELOG.md has no heading \"## $version (day)\""; return 1; }
  {
    echo "# VombaPong $version"
    echo
    echo "Table tennis for one player against the computer, played with the mouse."
    echo "Released on $day, built from commit $commit."
    echo
    echo "## What is new"
    echo
    # The version's own entry: from its heading to the next one.
    awk -v heading="## $version ($day)" '$0 == heading { on = 1; next } /^## / { on = 0 } on' \
      "$work/source/CHANGELOG.md" | sed -e '1{/^$/d}' -e '${/^$/d}'
    cat <<NOTES

## The files

| File | What it is for |
|---|---|
| \`vombapong_${version}_amd64.deb\` | Debian 12 and Ubuntu on a 64-bit PC: \`sudo apt install ./vombapong_${version}_amd64.deb\`, then \`vombapong\` or VombaPong in the Games menu |
| \`$release_name-win64.zip\` | 64-bit Windows: unzip the whole folder anywhere and double-click \`VombaPong.exe\` in it; nothing is installed |
| \`$release_name-web.zip\` | the browser: put the folder \`$release_name-web/\` on any static web host and open its address; the page fetches nothing from anywhere else (browsers do not run it from a file) |
| \`vombapong_$version.dsc\`, \`vombapong_$version.tar.xz\` | the source, as a Debian source package: \`dpkg-source -x vombapong_$version.dsc\` unpacks it |
| \`SHA256SUMS\` | the SHA-256 sum of each of the files above |

## Checking what you downloaded

Put the files you downloaded beside \`SHA256SUMS\` and run, on Linux:

    sha256sum --check --ignore-missing SHA256SUMS

Each of your files must say \`OK\`. On Windows, in PowerShell,
\`Get-FileHash $release_name-win64.zip\` prints the sum to compare with its line in
\`SHA256SUMS\` (the same letters, in capitals).
NOTES
  } >"$out/RELEASE-NOTES.md"
}

release_folder() {
  cp "$work/deb/vombapong_$version.dsc" "$work/deb/vombapong_$version.tar.xz" \
     "$work/deb"/vombapong_"$version"_amd64.deb "$work/windows/$release_name-win64.zip" "$out/" || return 1
  mkdir -p "$work/web-zip"
  cp -R "$work/web/site" "$work/web-zip/$release_name-web" &&
    python3 "$here/pack-zip.py" "$work/web-zip/$release_name-web" "$out/$release_name-web.zip" &&
    release_notes &&
    (cd "$out" && sha256sum vombapong_"$version"* "$release_name"-*.zip >SHA256SUMS)
}

started=$(date +%s)
say "VombaPong $version from commit $commit (SOURCE_DATE_EPOCH $SOURCE_DATE_EPOCH)${varied[*]:+, varied: ${varied[*]} umask 002}"
code=0
step "the commit's files (git archive)" export_source &&
  step "Debian packages in a clean root" debian_packages &&
  step "Windows zip (make windows)" windows_zip &&
  step "site (make web)" web_site &&
  step "release folder, notes and sums" release_folder || code=1
step_summary "make release of VombaPong $version" "$(($(date +%s) - started))"
if [ "$code" -ne 0 ]; then
  echo "release: FAILED; what the steps left is in $work"
  exit 1
fi

echo
echo "$out:"
(cd "$out" && for file in *; do
  printf '  %-36s %10s  %s\n' "$file" "$(stat -c %s "$file")" "$(sha256sum <"$file" | cut -d' ' -f1)"
done)
if [ -n "$compare" ]; then
  echo
  "$here/compare-builds.sh" "$compare" "$out" "$outroot" '*' || {
    echo "release: the two releases differ"
    exit 1
  }
  echo "release: the two releases are the same bytes"
fi
rm -rf "$outroot/work" "$outroot/work-in"
