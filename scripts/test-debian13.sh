#!/usr/bin/env bash
# The calculator on Debian 13 as well, from a Debian 12 machine: run by scripts/test.sh there,
# as root or with sudo, after its own builds (it needs build/release's portable archive).
#   1. scripts/test.sh again, from a fresh clone of this commit, in a Debian 13 chroot made
#      as a newcomer's machine is: a minimal system with git, ca-certificates and sudo.
#   2. The portable folder made here, on Debian 12, started in a minimal Debian 13 with
#      only the desktop basics, on this machine's X server: 100 and 32 typed, Print, and
#      the record read byte for byte.
# Both chroots come from the Debian mirror this machine's own apt is set up with, and are
# kept in /var/cache/pelagrin for the next run; one made in part is made again.
set -euo pipefail
cd "$(dirname "$0")/.."
[ "$(id -u)" -eq 0 ] || exec sudo bash "$0" "$@"
repo=$PWD
cache=/var/cache/pelagrin
release=trixie

step() { printf '\n== Debian 13: %s  (%d s in)\n' "$*" "$SECONDS"; }

# The URI of the Debian archive that apt on this machine takes release $1 from, as apt itself
# reads its sources (one-line or deb822).
debian_mirror() {
    local release uri
    while read -r release uri; do
        [ "$release" = "$1" ] && { echo "$uri"; return 0; }
    done < <(apt-get indextargets --format '$(RELEASE) $(REPO_URI)')
    return 1
}

# Makes the minimal Debian 13 $cache/$1 with the packages $2... unless an earlier run made it.
make_chroot() {
    local root=$cache/$1 log=$cache/$1.log
    shift
    [ -e "$root/.made" ] && { echo "reusing $root"; return 0; }
    command -v debootstrap >/dev/null ||
        env DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends debootstrap
    local mirror
    mirror=$(debian_mirror "$(. /etc/os-release && echo "$VERSION_CODENAME")") ||
        { echo "no Debian mirror in this machine's apt sources" >&2; return 1; }
    rm -rf "$root"
    mkdir -p "$cache"
    echo "making $root from $mirror"
    debootstrap --variant=minbase "$release" "$root" "$mirror" >"$log" 2>&1 ||
        { tail -n 20 "$log" >&2; return 1; }
    in_chroot "$root" apt-get update -qq
    in_chroot "$root" env DEBIAN_FRONTEND=noninteractive \
        apt-get install -y -qq --no-install-recommends "$@" >>"$log" 2>&1
    touch "$root/.made"
}

in_chroot() { bash scripts/in-chroot.sh "$@"; }

archive=$(find build/release -maxdepth 1 -name 'Pelagrin-*-linux-*.tar.gz' -print -quit)
[ -n "$archive" ] || { echo "no portable archive in build/release: run scripts/test.sh" >&2; exit 1; }

status=0
step "the test command, in a minimal system with git, ca-certificates and sudo"
make_chroot debian13 git ca-certificates sudo
root=$cache/debian13
rm -rf "$root/root/pelagrin"
git clone -q "$repo" "$root/root/pelagrin"
git -C "$root/root/pelagrin" checkout -q "$(git rev-parse HEAD)"
in_chroot "$root" bash -c 'cd /root/pelagrin && bash scripts/test.sh' || status=1

step "the Debian 12 portable folder, in a minimal system with the desktop basics"
# What every desktop has, X11 or Wayland: the client libraries, fonts and OpenGL.
make_chroot debian13-desktop libx11-6 libxcb1 libice6 libsm6 libwayland-client0 \
    libwayland-cursor0 libwayland-egl1 libfontconfig1 libfreetype6 libharfbuzz0b \
    fonts-dejavu-core libgl1 libegl1 libopengl0
/usr/bin/python3 -m pytest -c tests/pytest.ini \
    tests/package/test_portable.py::test_starts_on_another_release \
    --archive "$archive" --root "$cache/debian13-desktop" || status=1
exit "$status"
