#!/usr/bin/env bash
# Runs COMMAND... as root in the chroot ROOT, in a mount and process namespace of its own:
# the chroot's root is a mount point of its own, so the tests' own unshare works inside it;
# the X server's sockets are shared, so a program there can open a window on this machine's
# display; and nothing started there outlives the command.
# Usage: in-chroot.sh ROOT COMMAND...
set -euo pipefail
[ "${PELAGRIN_IN_NAMESPACE:-}" ] || exec env PELAGRIN_IN_NAMESPACE=1 \
    unshare --mount --pid --fork --propagation private bash "$0" "$@"
root=$1
shift
mount --bind "$root" "$root"
mount -t proc proc "$root/proc"
mount --rbind /sys "$root/sys"
mount --rbind /dev "$root/dev"
if [ -d /tmp/.X11-unix ]; then
    mkdir -p "$root/tmp/.X11-unix"
    mount --bind /tmp/.X11-unix "$root/tmp/.X11-unix"
fi
exec chroot "$root" /usr/bin/env -i HOME=/root LANG=C.UTF-8 TERM=dumb CI="${CI:-}" \
    DISPLAY="${DISPLAY:-}" PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin "$@"
