# Sourced by tools/test and tools/run: a Debian 13 root with Wine 10, made once per machine and kept under
# /var/cache, in which the Windows and end-to-end tests run a second time (chroot), on the same binaries.
#
#   ensure_wine10_root          makes the root when it is missing or incomplete (debootstrap, then apt-get)
#   bind_into_wine10_root P...  binds each host path at the same path inside the root (WINE10_SYSTEM_BINDS
#                               first, for any run)
#   in_wine10_root CMD...       runs a command inside the root, with a clean environment
#   unbind_wine10_root          unbinds everything under the root, deepest first (also what a test mounted)

WINE10_ROOT=/var/cache/suite-wine10/root
# What the Windows and end-to-end tests need inside: Wine 10 and a virtual display with fonts, CMake for
# CTest (the build's test lists are read when the tests run).
WINE10_PACKAGES="wine wine64 xvfb xauth fonts-dejavu-core cmake"
# Written last: a root without it (an interrupted make) is made again.
WINE10_MARK="$WINE10_ROOT/.suite-root-complete"

wine10_fail() {
    echo "The Wine 10 half cannot run: $*" >&2
    return 1
}

# Everything mounted at or under the root, deepest first.
wine10_mounts() {
    findmnt -rn -o TARGET | awk -v root="$WINE10_ROOT" 'index($0, root) == 1' | sort -r
}

unbind_wine10_root() {
    local target
    for target in $(wine10_mounts); do
        # Lazily: a process still ending may hold a file there; detached now, freed when it lets go.
        umount -l "$target" 2>/dev/null || echo "could not unmount $target" >&2
    done
}

ensure_wine10_root() {
    if [ -f "$WINE10_MARK" ] && [ "$(cat "$WINE10_MARK")" = "$WINE10_PACKAGES" ]; then return 0; fi
    echo "== Making the Wine 10 root in $WINE10_ROOT (Debian 13, once per machine)"
    command -v debootstrap >/dev/null || wine10_fail "debootstrap is missing" || return 1
    # Removing a root with something bound into it would reach the bound folders.
    unbind_wine10_root
    [ -z "$(wine10_mounts)" ] || wine10_fail "something is still mounted under $WINE10_ROOT" || return 1
    rm -rf "$WINE10_ROOT"
    mkdir -p "$WINE10_ROOT"
    debootstrap --variant=minbase trixie "$WINE10_ROOT" >"$WINE10_ROOT.log" 2>&1 ||
        wine10_fail "debootstrap of Debian 13 failed (network?), see $WINE10_ROOT.log" || return 1
    mount --bind /proc "$WINE10_ROOT/proc"
    local status=0
    chroot "$WINE10_ROOT" /usr/bin/env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin DEBIAN_FRONTEND=noninteractive \
        sh -c "apt-get update -qq && apt-get install -y -qq --no-install-recommends $WINE10_PACKAGES" \
        >>"$WINE10_ROOT.log" 2>&1 || status=$?
    umount -l "$WINE10_ROOT/proc"
    [ $status = 0 ] || wine10_fail "installing $WINE10_PACKAGES in the root failed, see $WINE10_ROOT.log" || return 1
    echo "$WINE10_PACKAGES" >"$WINE10_MARK"
}

# What any run inside the root needs of the host, besides the checkout.
WINE10_SYSTEM_BINDS=(/proc /dev /dev/pts /dev/shm)

bind_into_wine10_root() {
    local path
    for path in "$@"; do
        mkdir -p "$WINE10_ROOT$path"
        mount --bind "$path" "$WINE10_ROOT$path"
    done
}

in_wine10_root() {
    chroot "$WINE10_ROOT" /usr/bin/env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME=/root LANG=C.UTF-8 \
        ${DISPLAY:+DISPLAY=$DISPLAY} "$@"
}
