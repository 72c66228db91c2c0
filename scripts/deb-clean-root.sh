#!/usr/bin/env bash
# Builds VombaPong's Debian packages as a build daemon does: in a Debian 12
# root made afresh by mmdebstrap (the buildd variant: the essential packages
# and build-essential), where apt installs the Build-Depends from Debian's
# archive and nothing comes from this machine but the source. Inside it,
# dpkg-buildpackage makes the source package (an upload of its own, with its
# _source.changes); the .dsc is unpacked in a build folder of its own and
# dpkg-buildpackage builds the binary packages from that, as the
# unprivileged user `builder`, running the build's tests (the _amd64.changes).
# The results go to OUTDIR with the build's log.
#
#   scripts/deb-clean-root.sh build OUTDIR         # `make package`
#   scripts/deb-clean-root.sh build --vary OUTDIR  # another path, a clock 400
#       days on (libfaketime), umask 002, French Swiss locale, a timezone 14 hours
#       east: the second build of scripts/deb-reproducible.sh
#   scripts/deb-clean-root.sh build [--vary] --commit REV OUTDIR  # from that
#       commit's tracked files alone (scripts/export-source.sh --commit): a release
#   scripts/deb-clean-root.sh autopkgtest OUTDIR   # debian/tests against
#       OUTDIR's .deb, in a fresh minimal root
#
# Needs root (mmdebstrap's root mode, chroot and mounts). Prints each step's
# time. The root is removed afterwards, whatever happened.
set -euo pipefail

SUITE=bookworm
MIRROR="deb http://deb.debian.org/debian $SUITE main"
BUILDER=builder

say() { echo "[deb-clean-root $(date +%H:%M:%S)] $*"; }
refuse() { echo "deb-clean-root: $*" >&2; exit 2; }

usage="usage: $0 build [--vary] [--commit REV] OUTDIR | $0 autopkgtest OUTDIR"
[ $# -ge 2 ] || refuse "$usage"
mode=$1
shift
vary=no
if [ "$mode" = build ] && [ "$1" = --vary ]; then
  vary=yes
  shift
fi
export_options=()
if [ "$mode" = build ] && [ "$1" = --commit ] && [ $# -ge 2 ]; then
  export_options=(--commit "$2")
  shift 2
fi
[ $# -eq 1 ] && { [ "$mode" = build ] || [ "$mode" = autopkgtest ]; } || refuse "$usage"
[ "$(id -u)" -eq 0 ] ||
  refuse "needs root: it makes a Debian root with mmdebstrap and builds in it with chroot (run: sudo make package)"

here=$(cd "$(dirname "$0")" && pwd)
"$here/install-deps.sh" --package
mkdir -p "$1"
out=$(cd "$1" && pwd)
version=$(dpkg-parsechangelog --file "$here/../debian/changelog" --show-field Version)

work=$(mktemp -d /var/tmp/vombapong-deb-XXXXXX)
root=$work/root
# shellcheck source=scripts/root-steps.sh
. "$here/root-steps.sh"
cleanup() {
  local code=$?
  trap - EXIT INT TERM
  set +e
  take_down_root "$root" "$work"
  exit "$code"
}
trap cleanup EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

# Runs a shell command line in the root, as root, with a plain environment.
as_root() {
  chroot "$root" env -i HOME=/root LANG=C.UTF-8 PATH=/usr/sbin:/usr/bin:/sbin:/bin \
    DEBIAN_FRONTEND=noninteractive sh -c "$1"
}
# The same as the builder, with the environment of this build.
as_builder() {
  chroot --userspec="$BUILDER:$BUILDER" "$root" env -i HOME=/home/$BUILDER \
    PATH=/usr/bin:/bin "${build_env[@]}" sh -c "umask $build_umask; $1"
}

make_root() {
  local variant=$1
  shift
  mmdebstrap --quiet --variant="$variant" "$@" "$SUITE" "$root" "$MIRROR" </dev/null
  mount_system_folders "$root"
  # The archive, for apt inside the root.
  cp -L /etc/resolv.conf "$root/etc/resolv.conf"
}

# ----- build --------------------------------------------------------------------

build_path=/build/vombapong
build_env=(LANG=C.UTF-8 TZ=UTC)
build_umask=022
faketime=()
extra_packages=()
if [ "$vary" = yes ]; then
  build_path=/build/another/and/longer/path/for/vombapong
  build_env=(LANG=fr_CH.UTF-8 LC_ALL=fr_CH.UTF-8 TZ=XKT-14)
  build_umask=002
  # libfaketime itself: its wrapper command wants shared memory the root lacks.
  faketime=("LD_PRELOAD=\$(echo /usr/lib/*/faketime/libfaketime.so.1) FAKETIME=+400d")
  extra_packages=(--include=faketime,locales)
fi
log=$out/vombapong-build.log

prepare_builder() {
  as_root "useradd --create-home $BUILDER && mkdir -p /build $build_path &&
           chown $BUILDER:$BUILDER /build $build_path" || return 1
  if [ "$vary" = yes ]; then
    as_root "echo 'fr_CH.UTF-8 UTF-8' >/etc/locale.gen && locale-gen >/dev/null" || return 1
  fi
  "$here/export-source.sh" "${export_options[@]}" "$root/build/vombapong-$version" &&
    as_root "chown -R $BUILDER:$BUILDER /build/vombapong-$version"
}

install_build_depends() {
  as_root "apt-get update -qq && apt-get build-dep -y -qq /build/vombapong-$version" >>"$log" 2>&1
}

build_source_package() {
  as_builder "cd /build/vombapong-$version && dpkg-buildpackage --build=source -us -uc" >>"$log" 2>&1
}

build_binary_packages() {
  as_builder "dpkg-source --extract /build/vombapong_$version.dsc $build_path/vombapong-$version &&
              cd $build_path/vombapong-$version &&
              ${faketime[*]} dpkg-buildpackage --build=binary -us -uc -j2" >>"$log" 2>&1
}

collect_results() {
  rm -f "$out"/vombapong_* "$out"/vombapong-dbgsym_*
  cp "$root/build"/vombapong_* "$root$build_path"/vombapong_* \
    "$root$build_path"/vombapong-dbgsym_* "$out"/
  (cd "$out" && sha256sum vombapong_"$version".dsc vombapong_"$version".tar.xz ./*.deb)
}

build() {
  : >"$log"
  say "building $version in $build_path (umask $build_umask, ${build_env[*]}${faketime[*]:+, ${faketime[*]}})"
  step "clean root (mmdebstrap --variant=buildd)" make_root buildd "${extra_packages[@]}" || return 1
  step "builder and source in the root" prepare_builder || return 1
  step "Build-Depends (apt-get build-dep)" install_build_depends || return 1
  step "source package (dpkg-buildpackage -S)" build_source_package || return 1
  step "binary packages from the .dsc, with tests" build_binary_packages || return 1
  step "results to $out" collect_results || return 1
}

# ----- autopkgtest ---------------------------------------------------------------

run_autopkgtest() {
  local debs=("$out"/vombapong_"$version"_*.deb)
  [ -f "$out/vombapong_$version.dsc" ] && [ -f "${debs[0]}" ] || {
    say "no vombapong_$version.dsc and .deb in $out: build them first (make package)"
    return 1
  }
  # --apt-upgrade: mmdebstrap leaves the root without package lists.
  autopkgtest --apt-upgrade --output-dir "$out/autopkgtest" "${debs[@]}" \
    "$out/vombapong_$version.dsc" -- chroot "$root"
}

started=$(date +%s)
code=0
if [ "$mode" = build ]; then
  build || code=1
else
  rm -rf "$out/autopkgtest"
  step "testbed root (mmdebstrap --variant=minbase)" make_root minbase || code=1
  [ "$code" -ne 0 ] || step "autopkgtest in the root" run_autopkgtest || code=1
fi
step_summary "$mode of vombapong $version in a clean $SUITE root" "$(($(date +%s) - started))"
if [ "$code" -ne 0 ]; then
  [ "$mode" = build ] && { tail -n 40 "$log"; echo "the whole log: $log"; }
  echo "deb-clean-root: $mode FAILED"
  exit 1
fi
