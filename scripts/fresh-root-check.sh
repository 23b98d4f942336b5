#!/usr/bin/env bash
# Checks what a newcomer and an operator meet on a fresh Debian 12 machine, in a root made with
# mmdebstrap (minbase, nothing of the project installed) and the X test bed's display:
#   package  the package passes desktop-file-validate, appstreamcli and lintian; it installs with
#            every dependency; an ordinary user starts it (the main window shows, with the window
#            class the desktop entry names, and the user's program folder appears); removing it
#            keeps the user's files;
#   run      the README's run command builds and starts the program as root.
# Usage: fresh-root-check.sh [package|run|all] [PACKAGE.deb]   (default all; without a package
# file, scripts/package.sh builds this machine's and the arm64 one). A package of another
# architecture is checked in a root of its architecture, its programs run by qemu user emulation.
# Runs as root. On a failure its folder with the logs is kept.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/deps.sh
source scripts/cross.sh
checks="${1:-all}"
packages=("${@:2}")
build_arch="$(dpkg-architecture -qDEB_BUILD_ARCH)"
# The architectures whose packages are built and checked when none is given.
package_arches=("$build_arch" arm64)
case "$checks" in package | run | all) ;; *)
    echo "usage: fresh-root-check.sh [package|run|all] [PACKAGE.deb]" >&2
    exit 2
    ;;
esac
[ "$(id -u)" -eq 0 ] || { echo "fresh-root-check.sh makes a Debian root: run it as root" >&2; exit 1; }
vardo_require_packages "${VARDO_PACKAGE_CHECK_PACKAGES[@]}" xvfb xauth x11-xserver-utils x11-utils \
    openbox

work="$(mktemp -d /tmp/vardo-fresh-root.XXXXXX)"
root=""  # the root being checked: root-ARCH in the run's folder
mounts=()
vardo_pid=""
cleanup() {
    local status=$?
    [ -n "$vardo_pid" ] && stop_program "$vardo_pid"
    local index
    for ((index = ${#mounts[@]} - 1; index >= 0; index--)); do
        umount "${mounts[index]}" || umount --lazy "${mounts[index]}" || true
    done
    scripts/xbed.sh stop "$work/xbed" || true
    # Nothing of the host may be mounted below the root when it is removed.
    if findmnt -rn -o TARGET | grep -q "^$work"; then
        echo "== something is still mounted below $work: it is left in place" >&2
        status=1
    elif [ "$status" -eq 0 ]; then
        rm -rf "$work"
    fi
    [ "$status" -eq 0 ] || echo "== FAILED: the logs are kept in $work" >&2
    exit "$status"
}
trap cleanup EXIT

step() { echo "== $* ($SECONDS s)"; }
fail() { echo "fresh-root-check: $*" >&2; exit 1; }

stop_program() { # pid: TERM, wait, KILL
    kill -TERM "$1" 2>/dev/null || true
    for _ in $(seq 50); do
        kill -0 "$1" 2>/dev/null || return 0
        sleep 0.1
    done
    kill -KILL "$1" 2>/dev/null || true
}

# The client window of title "Vardo" as xwininfo lists it: id, title and ("instance" "class").
# Qt's hidden group leader has the same title and no class.
main_window() { xwininfo -root -tree 2>/dev/null | grep -m1 '"Vardo": ("' || true; }

wait_for() { # seconds, description, command...
    local seconds="$1" what="$2"
    shift 2
    local deadline=$((SECONDS + seconds))
    until "$@"; do
        [ "$SECONDS" -lt "$deadline" ] || fail "$what did not happen within $seconds s"
        kill -0 "$vardo_pid" 2>/dev/null || fail "$what: the program ended first"
        sleep 1
    done
}
window_shown() { [ -n "$(main_window)" ]; }

in_root() { chroot "$root" /usr/bin/env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin LANG=C.UTF-8 "$@"; }

validate_package() {
    step "validators ($(basename "$package"))"
    local contents="$work/contents-$arch"
    dpkg-deb -x "$package" "$contents"
    desktop-file-validate "$contents"/usr/share/applications/*.desktop
    appstreamcli validate --no-net "$contents"/usr/share/metainfo/*.metainfo.xml
    lintian --fail-on error --tag-display-limit 0 "$package" | tee "$work/lintian-$arch.log"
}

make_root() { # arch
    step "fresh Debian 12 root ($1)"
    root="$work/root-$1"
    vardo_enable_emulation "$1"
    mmdebstrap --variant=minbase --quiet --architectures="$1" bookworm "$root" \
        >"$work/mmdebstrap-$1.log" 2>&1 || { tail -20 "$work/mmdebstrap-$1.log"; fail "mmdebstrap failed"; }
    cp /etc/resolv.conf "$root/etc/resolv.conf"
    mount -t proc proc "$root/proc" && mounts+=("$root/proc")
    mount --bind /dev "$root/dev" && mounts+=("$root/dev")
    mount --bind /sys "$root/sys" && mounts+=("$root/sys")
    mkdir -p "$root/tmp/.X11-unix"
    mount --bind /tmp/.X11-unix "$root/tmp/.X11-unix" && mounts+=("$root/tmp/.X11-unix")
    in_root apt-get update -qq >"$work/apt-update-$1.log" 2>&1
}

check_package() {
    step "install the package"
    cp "$package" "$root/tmp/"
    in_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "/tmp/$(basename "$package")" \
        >"$work/apt-install-$arch.log" 2>&1 || { tail -20 "$work/apt-install-$arch.log"; fail "install failed"; }
    in_root useradd --create-home --shell /bin/bash station
    local home="$root/home/station"

    step "start vardo as an ordinary user"
    chroot --userspec=station:station "$root" /usr/bin/env -i HOME=/home/station USER=station \
        PATH=/usr/bin:/bin LANG=C.UTF-8 DISPLAY="$DISPLAY" vardo >"$work/vardo-$arch.log" 2>&1 &
    vardo_pid=$!
    # Under emulation the first start takes longer.
    wait_for 180 "the main window" window_shown
    wait_for 10 "the program folder" test -f "$home/.local/share/vardo/VARDO.INI"
    [ -d "$home/.local/share/vardo/Data" ] && [ -d "$home/.local/share/vardo/History" ] ||
        fail "Data/ and History/ were not made in ~/.local/share/vardo/"
    local class entry_class
    class="$(main_window | sed -n 's/.*: ("[^"]*" "\([^"]*\)").*/\1/p')"
    entry_class="$(sed -n 's/^StartupWMClass=//p' "$root"/usr/share/applications/*.desktop)"
    [ "$class" = "$entry_class" ] ||
        fail "the window's class is '$class', the desktop entry names '$entry_class'"
    echo "main window: $(main_window)"
    stop_program "$vardo_pid"
    vardo_pid=""

    step "remove the package"
    in_root env DEBIAN_FRONTEND=noninteractive apt-get remove -y -qq vardo >"$work/apt-remove-$arch.log" 2>&1
    [ ! -e "$root/usr/bin/vardo" ] || fail "/usr/bin/vardo is still there after apt-get remove"
    [ -f "$home/.local/share/vardo/VARDO.INI" ] || fail "removing the package took the user's files"
}

check_run_command() {
    step "the run command as root, from a copy of the tree"
    mkdir -p "$root/src"
    git ls-files -z --cached --others --exclude-standard | tar --null -T - -cf - | tar -xf - -C "$root/src"
    chroot "$root" /usr/bin/env -i HOME=/root PATH=/usr/sbin:/usr/bin:/sbin:/bin LANG=C.UTF-8 \
        DISPLAY="$DISPLAY" /src/scripts/run.sh >"$work/run.log" 2>&1 &
    vardo_pid=$!
    wait_for 2400 "the run command's main window" window_shown
    wait_for 10 "the run command's program folder" test -d "$root/src/build/run/Data"
    echo "main window: $(main_window)"
    stop_program "$vardo_pid"
    vardo_pid=""
}

if [ "$checks" != run ] && [ ${#packages[@]} -eq 0 ]; then
    for arch in "${package_arches[@]}"; do
        step "build the package ($arch)"
        packages+=("$(scripts/package.sh "$arch" | tail -1)")
    done
fi

step "X test bed"
scripts/xbed.sh start "$work/xbed"
export DISPLAY="$(cat "$work/xbed/wm.display")"

if [ "$checks" != run ]; then
    for package in "${packages[@]}"; do
        package="$(realpath "$package")"
        arch="$(dpkg-deb -f "$package" Architecture)"
        validate_package
        make_root "$arch"
        check_package
    done
fi
if [ "$checks" != package ]; then
    # In the root the package was checked in, if there is one.
    root="$work/root-$build_arch"
    [ -d "$root" ] || make_root "$build_arch"
    check_run_command
fi
step "passed"
