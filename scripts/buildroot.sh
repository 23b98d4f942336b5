#!/usr/bin/env bash
# A Debian 12 root for cross-building Vardo for another architecture, kept outside the tree in
# /var/cache/vardo/ and made again only when what goes into it changes.
#   buildroot.sh path ARCH          makes the root when missing and prints its folder
#   buildroot.sh run ARCH CMD...    runs CMD in the root, in the tree's own folder (mounted at the
#                                   same path), with the X test bed's sockets, as root
# ARCH's programs run in the root through qemu user emulation, registered with binfmt_misc.
# Runs as root.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/deps.sh
source scripts/cross.sh
usage() { echo "usage: buildroot.sh path|run ARCH [CMD...]" >&2; exit 2; }
[ $# -ge 2 ] || usage
action="$1"
arch="$2"
shift 2
[ "$(id -u)" -eq 0 ] || { echo "buildroot.sh makes and enters a Debian root: run it as root" >&2; exit 1; }
dpkg-architecture -a "$arch" -qDEB_HOST_ARCH >/dev/null 2>&1 ||
    { echo "buildroot.sh: '$arch' is not an architecture dpkg knows" >&2; exit 2; }

cache="${VARDO_BUILDROOT_CACHE:-/var/cache/vardo}"
build_arch="$(dpkg-architecture -qDEB_BUILD_ARCH)"
packages="$(vardo_cross_packages "$arch" | tr '\n' ' ')"

# The root's folder is named after what goes into it.
root_path() {
    local key
    key="$(echo "bookworm apt $build_arch $arch $packages" | sha256sum | cut -c1-12)"
    echo "$cache/buildroot-$build_arch-$arch-$key"
}

# Runs CMD in ROOT, in the tree's own folder (mounted at the same path), with the X test bed's
# sockets, in a mount namespace of its own: the mounts end with the command, whatever becomes of it.
enter_root() { # root cmd...
    local root="$1"
    shift
    unshare --mount --propagation private /bin/bash -euc '
        root="$1" tree="$2"
        shift 2
        mount -t proc proc "$root/proc"
        mount --rbind /dev "$root/dev"
        mount --rbind /sys "$root/sys"
        mkdir -p "$root/tmp/.X11-unix" "$root$tree"
        mount --bind /tmp/.X11-unix "$root/tmp/.X11-unix"
        mount --bind "$tree" "$root$tree"
        cp /etc/resolv.conf "$root/etc/resolv.conf"
        exec chroot "$root" /usr/bin/env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin LANG=C.UTF-8 \
            HOME=/root CCACHE_DIR=/var/cache/ccache /bin/sh -c "cd \"\$0\" && exec \"\$@\"" "$tree" "$@"
    ' buildroot "$root" "$PWD" "$@"
}

# The packages a root was made with, one a line, sorted.
package_set() { tr ' ' '\n' | grep . | sort -u; }

# A root of an earlier list whose every package is still wanted is brought up to date in place,
# in seconds instead of the minutes a new root takes; true when one was. A failed update leaves the
# earlier root as it was named and stops.
update_earlier_root() { # root
    local root="$1" earlier
    for earlier in "$cache/buildroot-$build_arch-$arch-"*; do
        [ -f "$earlier/.complete" ] && [ -f "$earlier/.packages" ] || continue
        comm -23 "$earlier/.packages" <(echo "$packages" | package_set) | grep -q . && continue
        echo "Adding to the build root $earlier the packages now wanted" >&2
        mv "$earlier" "$root.tmp"
        # No service a package brings may start in the root (as mmdebstrap keeps it).
        # shellcheck disable=SC2086 # the package list is split into packages on purpose
        if ! enter_root "$root.tmp" sh -c 'printf "#!/bin/sh\nexit 101\n" >/usr/sbin/policy-rc.d &&
                chmod 755 /usr/sbin/policy-rc.d && apt-get update -qq &&
                DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "$@"
                status=$?; rm -f /usr/sbin/policy-rc.d; exit $status' apt $packages \
                >"$cache/apt.log" 2>&1; then
            tail -30 "$cache/apt.log" >&2
            mv "$root.tmp" "$earlier"
            echo "buildroot.sh: apt-get could not add the packages" >&2
            exit 1
        fi
        echo "$packages" | package_set >"$root.tmp/.packages"
        mv "$root.tmp" "$root"
        return 0
    done
    return 1
}

make_root() {
    local root="$1"
    [ -f "$root/.complete" ] && return 0
    mkdir -p "$cache"
    rm -rf "$root.tmp"
    update_earlier_root "$root" && return 0
    # Roots of earlier inputs for the same architectures are stale.
    rm -rf "$cache/buildroot-$build_arch-$arch-"*
    echo "Making the build root $root" >&2
    # shellcheck disable=SC2086 # the package list is split into packages on purpose
    mmdebstrap --variant=apt --quiet --architectures="$build_arch,$arch" \
        --include="$(echo $packages | tr ' ' ',')" bookworm "$root.tmp" >"$cache/mmdebstrap.log" 2>&1 ||
        { tail -30 "$cache/mmdebstrap.log" >&2; rm -rf "$root.tmp"; echo "buildroot.sh: mmdebstrap failed" >&2; exit 1; }
    echo "$packages" | package_set >"$root.tmp/.packages"
    touch "$root.tmp/.complete"
    mv "$root.tmp" "$root"
}

vardo_enable_emulation "$arch"
root="$(root_path)"
make_root "$root"
case "$action" in
path) echo "$root" ;;
run)
    [ $# -gt 0 ] || usage
    enter_root "$root" "$@"
    ;;
*) usage ;;
esac
