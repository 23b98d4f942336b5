#!/usr/bin/env bash
# The Wayland test bed: GNOME's compositor, mutter, headless with two 1920x1080 virtual monitors side
# by side and XWayland for X clients, on a session bus and a runtime folder of its own. No GPU is
# needed: mutter renders in software.
#   wlbed.sh start STATE_DIR   starts it; writes into STATE_DIR wayland.display (the compositor's
#                              socket, a full path), x.display (XWayland's display), xauthority
#                              (XWayland's cookie file) and the pids
#   wlbed.sh stop STATE_DIR    stops everything it started, by pid
set -uo pipefail
state="${2:?usage: wlbed.sh start|stop STATE_DIR}"
x11_sockets=/tmp/.X11-unix

# mutter refuses to start XWayland unless the X socket folder is writable for everyone (with the
# sticky bit, as a desktop's tmpfiles set it); an X server started first may have left it 1755.
prepare_x11_sockets() {
    mkdir -p "$x11_sockets" 2>/dev/null || true
    [ "$(stat -c %a "$x11_sockets" 2>/dev/null)" = 1777 ] && return 0
    chmod 1777 "$x11_sockets" 2>/dev/null && return 0
    echo "$x11_sockets must have mode 1777 for XWayland (run as root: chmod 1777 $x11_sockets)" >&2
    return 1
}

start_mutter() {
    local runtime="$state/runtime"
    mkdir -p "$runtime" && chmod 700 "$runtime"
    rm -f "$state/mutter.pid" "$runtime"/.mutter-Xwaylandauth.*
    # The inner shell writes its pid, which exec makes mutter's; dbus-run-session ends its bus when
    # mutter ends.
    XDG_RUNTIME_DIR="$runtime" setsid dbus-run-session -- sh -c 'echo $$ >"$0"; exec "$@"' \
        "$state/mutter.pid" mutter --headless --wayland --wayland-display vardo-wayland \
        --virtual-monitor 1920x1080 --virtual-monitor 1920x1080 >"$state/mutter.log" 2>&1 &
    echo $! >"$state/session.pid"
    local display="" auth=""
    # XWayland's display is named in mutter's log; its cookie file lies in the runtime folder.
    for _ in $(seq 400); do
        display="$(sed -n 's/.*Using public X11 display \(:[0-9]*\).*/\1/p' "$state/mutter.log")"
        auth="$(ls "$runtime"/.mutter-Xwaylandauth.* 2>/dev/null | head -n 1)"
        if [ -n "$display" ] && [ -n "$auth" ] &&
            [ "$(DISPLAY="$display" XAUTHORITY="$auth" xrandr --listmonitors 2>/dev/null |
                sed -n 's/^Monitors: //p')" = 2 ]; then
            echo "$runtime/vardo-wayland" >"$state/wayland.display"
            echo "$display" >"$state/x.display"
            echo "$auth" >"$state/xauthority"
            return 0
        fi
        alive "$(cat "$state/session.pid")" || break
        sleep 0.05
    done
    echo "mutter did not start with XWayland and two monitors (see $state/mutter.log)" >&2
    return 1
}

# Running and not yet a zombie: where nothing reaps the orphaned session, an ended one stays a
# zombie, which kill -0 still finds.
alive() { # pid
    local status
    status="$(ps -o stat= -p "$1" 2>/dev/null)" && [ -n "$status" ] && [ "${status#Z}" = "$status" ]
}

stop_pid() { # pidfile
    [ -f "$1" ] || return 0
    local pid; pid="$(cat "$1")"
    kill -TERM "$pid" 2>/dev/null || true
    for _ in $(seq 60); do
        alive "$pid" || break
        sleep 0.05
    done
    kill -KILL "$pid" 2>/dev/null || true
    rm -f "$1"
}

case "$1" in
start)
    mkdir -p "$state"
    prepare_x11_sockets && start_mutter
    ;;
stop)
    # mutter ends its XWayland itself; then the session ends its bus.
    stop_pid "$state/mutter.pid"
    stop_pid "$state/session.pid"
    ;;
*)
    echo "usage: wlbed.sh start|stop STATE_DIR" >&2
    exit 2
    ;;
esac
