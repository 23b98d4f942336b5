#!/usr/bin/env bash
# Checks what a newcomer and an operator meet on a fresh Debian 12 machine, in a root made with
# mmdebstrap (minbase, nothing of the project installed) and the X test bed's display:
#   package  the package passes desktop-file-validate, appstreamcli and lintian; it installs with
#            every dependency; an ordinary user starts it (the main window shows, with the window
#            class the desktop entry names, and the user's program folder appears); removing it
#            keeps the user's files;
#   run      the README's run command builds and starts the program as root.
# Usage: fresh-root-check.sh [package|run|all] [PACKAGE.deb]   (default all; without a package
# file, scripts/package.sh builds one). Runs as root. On a failure its folder with the logs is kept.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/deps.sh
checks="${1:-all}"
package="${2:-}"
case "$checks" in package | run | all) ;; *)
    echo "usage: fresh-root-check.sh [package|run|all] [PACKAGE.deb]" >&2
    exit 2
    ;;
esac
[ "$(id -u)" -eq 0 ] || { echo "fresh-root-check.sh makes a Debian root: run it as root" >&2; exit 1; }
vardo_require_packages "${VARDO_PACKAGE_CHECK_PACKAGES[@]}" xvfb xauth x11-xserver-utils x11-utils \
    openbox

work="$(mktemp -d /tmp/vardo-fresh-root.XXXXXX)"
root="$work/root"
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
    if findmnt -rn -o TARGET | grep -q "^$root"; then
        echo "== something is still mounted below $root: it is left in place" >&2
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
    step "validators"
    local contents="$work/contents"
    dpkg-deb -x "$package" "$contents"
    desktop-file-validate "$contents"/usr/share/applications/*.desktop
    appstreamcli validate --no-net "$contents"/usr/share/metainfo/*.metainfo.xml
    lintian --fail-on error --tag-display-limit 0 "$package" | tee "$work/lintian.log"
}

make_root() {
    step "fresh Debian 12 root"
    mmdebstrap --variant=minbase --quiet bookworm "$root" >"$work/mmdebstrap.log" 2>&1 ||
        { tail -20 "$work/mmdebstrap.log"; fail "mmdebstrap failed"; }
    cp /etc/resolv.conf "$root/etc/resolv.conf"
    mount -t proc proc "$root/proc" && mounts+=("$root/proc")
    mount --bind /dev "$root/dev" && mounts+=("$root/dev")
    mount --bind /sys "$root/sys" && mounts+=("$root/sys")
    mkdir -p "$root/tmp/.X11-unix"
    mount --bind /tmp/.X11-unix "$root/tmp/.X11-unix" && mounts+=("$root/tmp/.X11-unix")
    in_root apt-get update -qq >"$work/apt-update.log" 2>&1
}

check_package() {
    step "install the package"
    cp "$package" "$root/tmp/"
    in_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "/tmp/$(basename "$package")" \
        >"$work/apt-install.log" 2>&1 || { tail -20 "$work/apt-install.log"; fail "install failed"; }
    in_root useradd --create-home --shell /bin/bash station
    local home="$root/home/station"

    step "start vardo as an ordinary user"
    chroot --userspec=station:station "$root" /usr/bin/env -i HOME=/home/station USER=station \
        PATH=/usr/bin:/bin LANG=C.UTF-8 DISPLAY="$DISPLAY" vardo >"$work/vardo.log" 2>&1 &
    vardo_pid=$!
    wait_for 60 "the main window" window_shown
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
    in_root env DEBIAN_FRONTEND=noninteractive apt-get remove -y -qq vardo >"$work/apt-remove.log" 2>&1
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

if [ "$checks" != run ]; then
    if [ -z "$package" ]; then
        step "build the package"
        package="$(scripts/package.sh | tail -1)"
    fi
    package="$(realpath "$package")"
    validate_package
fi

step "X test bed"
scripts/xbed.sh start "$work/xbed"
export DISPLAY="$(cat "$work/xbed/wm.display")"

make_root
[ "$checks" = run ] || check_package
[ "$checks" = package ] || check_run_command
step "passed"
