#!/usr/bin/env bash
# The Wayland test bed: a compositor running headless with two 1920x1080 monitors side by side
# and XWayland for X clients, on a session bus and a runtime folder of its own. No GPU is needed:
# the compositors render in software. GNOME's mutter is the one the tests use; KDE's kwin_wayland
# and weston can be started the same way to run the tests against them by hand.
#   wlbed.sh start STATE_DIR [mutter|kwin|weston]
#                              starts it; writes into STATE_DIR wayland.display (the compositor's
#                              socket, a full path), x.display (XWayland's display), xauthority
#                              (XWayland's cookie file; empty where XWayland asks for none) and the
#                              pids; with sway also swaysock (its IPC socket)
#   wlbed.sh stop STATE_DIR    stops everything it started, by pid
set -uo pipefail
source "$(dirname "$0")/pids.sh"
state="${2:?usage: wlbed.sh start|stop STATE_DIR [mutter|kwin|sway|weston]}"
compositor="${3:-mutter}"
runtime="$state/runtime"
socket=vardo-wayland
x11_sockets=/tmp/.X11-unix

# XWayland wants the X socket folder writable for everyone (with the sticky bit, as a desktop's
# tmpfiles set it); an X server started first may have left it 1755, and mutter then refuses.
prepare_x11_sockets() {
    mkdir -p "$x11_sockets" 2>/dev/null || true
    [ "$(stat -c %a "$x11_sockets" 2>/dev/null)" = 1777 ] && return 0
    chmod 1777 "$x11_sockets" 2>/dev/null && return 0
    echo "$x11_sockets must have mode 1777 for XWayland (run as root: chmod 1777 $x11_sockets)" >&2
    return 1
}


# The user the compositor runs as, where it is not the bed's: sway refuses to run as root, so a
# root bed runs it as nobody, with a runtime folder of nobody's own in /tmp (the bed's folder may
# be out of its reach), which also holds what it reads and the pid file.
session_user=()
run_as_nobody() {
    session_user=(setpriv --reuid=nobody --regid=nogroup --clear-groups)
    runtime="$(mktemp -d /tmp/vardo-wlbed.XXXXXX)"
    echo "$runtime" >"$state/runtime.path"
}

# Runs the compositor on a session bus of its own. The inner shell writes its pid, which exec
# makes the compositor's; dbus-run-session ends its bus when the compositor ends.
start_session() { # command...
    mkdir -p "$runtime" && chmod 700 "$runtime"
    rm -f "$state/compositor.pid" "$runtime"/.mutter-Xwaylandauth.*
    local pidfile="$state/compositor.pid"
    if [ ${#session_user[@]} -gt 0 ]; then
        chown -R nobody:nogroup "$runtime"
        pidfile="$runtime/compositor.pid"
        ln -s "$pidfile" "$state/compositor.pid"
    fi
    XDG_RUNTIME_DIR="$runtime" setsid "${session_user[@]}" dbus-run-session -- \
        sh -c 'echo $$ >"$0"; exec "$@"' "$pidfile" "$@" >"$state/compositor.log" 2>&1 &
    echo $! >"$state/session.pid"
}

# XWayland's display: mutter and weston name it in their logs; KWin's is on its command line.
x_display() {
    case "$compositor" in
    mutter) sed -n 's/.*Using public X11 display \(:[0-9]*\).*/\1/p' "$state/compositor.log" ;;
    weston) sed -n 's/.*xserver listening on display \(:[0-9]*\).*/\1/p' "$state/compositor.log" ;;
    sway) sway_x_display ;;
    kwin)
        ps -o args= --ppid "$(cat "$state/compositor.pid" 2>/dev/null)" 2>/dev/null |
            sed -n 's/^[^ ]*Xwayland \(:[0-9]*\).*/\1/p'
        ;;
    esac
}

# sway names its Wayland socket itself (wayland-N) and has no option for it.
wayland_socket() {
    if [ "$compositor" = sway ]; then
        ls "$runtime"/wayland-[0-9]* 2>/dev/null | grep -v '\.lock$' | head -n 1
    else
        echo "$runtime/$socket"
    fi
}

sway_socket() { ls "$runtime"/sway-ipc.*.sock 2>/dev/null | head -n 1; }

# sway starts XWayland when it first needs it and tells its display only to the programs it
# starts: one of them writes it down, once. XWayland lets in only sway's user; a root bed lets
# root in too. (A script, since sway's own command line splits at ; and ,.)
sway_x_display() {
    local ipc
    ipc="$(sway_socket)"
    [ -S "$ipc" ] || return 0
    if [ ! -e "$state/x.display.asked" ]; then
        {
            [ ${#session_user[@]} -gt 0 ] && echo 'xhost +si:localuser:root >/dev/null'
            echo 'echo "$DISPLAY" >"$XDG_RUNTIME_DIR/x.display.part"'
            echo 'mv "$XDG_RUNTIME_DIR/x.display.part" "$XDG_RUNTIME_DIR/x.display"'
        } >"$runtime/x-display.sh"
        chmod 644 "$runtime/x-display.sh"
        SWAYSOCK="$ipc" swaymsg -q exec "sh $runtime/x-display.sh" >/dev/null 2>&1 &&
            touch "$state/x.display.asked"
        return 0
    fi
    cat "$runtime/x.display" 2>/dev/null
}

x_authority() {
    if [ "$compositor" = mutter ]; then
        ls "$runtime"/.mutter-Xwaylandauth.* 2>/dev/null | head -n 1
    else
        : >"$state/empty.xauthority"
        echo "$state/empty.xauthority"
    fi
}

monitor_count() { # display auth
    DISPLAY="$1" XAUTHORITY="$2" xrandr --listmonitors 2>/dev/null | sed -n 's/^Monitors: //p'
}

start() {
    case "$compositor" in
    mutter)
        start_session mutter --headless --wayland --wayland-display "$socket" \
            --virtual-monitor 1920x1080 --virtual-monitor 1920x1080
        ;;
    kwin)
        # kwin_wayland carries a file capability, which a container may refuse to exec; a copy
        # without it runs the same.
        local kwin=kwin_wayland
        if ! kwin_wayland --version >/dev/null 2>&1; then
            kwin="$state/kwin_wayland"
            cp "$(command -v kwin_wayland)" "$kwin"
        fi
        start_session "$kwin" --virtual --xwayland --width 1920 --height 1080 --output-count 2 \
            --socket "$socket"
        ;;
    sway)
        [ "$(id -u)" -eq 0 ] && run_as_nobody
        # What an earlier sway left in a reused folder must not be taken for this one's.
        rm -f "$state/x.display.asked" "$runtime"/wayland-* "$runtime"/sway-ipc.* "$runtime/x.display"
        mkdir -p "$runtime"
        # wlroots' headless backend, rendering in software, without input devices.
        printf '%s\n' 'output HEADLESS-1 mode 1920x1080 position 0 0' \
            'output HEADLESS-2 mode 1920x1080 position 1920 0' 'xwayland enable' >"$runtime/sway.config"
        WLR_BACKENDS=headless WLR_HEADLESS_OUTPUTS=2 WLR_LIBINPUT_NO_DEVICES=1 WLR_RENDERER=pixman \
            start_session sway --config "$runtime/sway.config"
        ;;
    weston)
        start_session weston --backend=headless-backend.so --width=3840 --height=1080 --xwayland \
            --socket="$socket"
        ;;
    *)
        echo "unknown compositor $compositor (mutter, kwin, sway or weston)" >&2
        return 2
        ;;
    esac
    local display="" auth="" split=""
    for _ in $(seq 400); do
        display="$(x_display)"
        auth="$(x_authority)"
        if [ -n "$display" ] && [ -n "$auth" ] && [ -S "$(wayland_socket)" ]; then
            # weston's headless output is one wide monitor: split it as the X test bed does.
            if [ "$compositor" = weston ] && [ -z "$split" ] &&
                [ "$(monitor_count "$display" "$auth")" = 1 ]; then
                DISPLAY="$display" XAUTHORITY="$auth" xrandr --setmonitor '*MON1' \
                    1920/508x1080/286+0+0 XWAYLAND0 >/dev/null &&
                    DISPLAY="$display" XAUTHORITY="$auth" xrandr --setmonitor MON2 \
                        1920/508x1080/286+1920+0 none >/dev/null && split=yes
            fi
            if [ "$(monitor_count "$display" "$auth")" = 2 ]; then
                wayland_socket >"$state/wayland.display"
                [ "$compositor" = sway ] && sway_socket >"$state/swaysock"
                echo "$display" >"$state/x.display"
                echo "$auth" >"$state/xauthority"
                return 0
            fi
        fi
        alive "$(cat "$state/session.pid")" || break
        sleep 0.05
    done
    echo "$compositor did not start with XWayland and two monitors (see $state/compositor.log)" >&2
    return 1
}


case "$1" in
start)
    mkdir -p "$state"
    prepare_x11_sockets && start
    ;;
stop)
    # The compositor ends its XWayland itself; then the session ends its bus.
    stop_pid "$state/compositor.pid"
    stop_pid "$state/session.pid"
    if [ -f "$state/runtime.path" ]; then
        rm -rf "$(cat "$state/runtime.path")"
        rm -f "$state/runtime.path"
    fi
    ;;
*)
    echo "usage: wlbed.sh start|stop STATE_DIR [mutter|kwin|sway|weston]" >&2
    exit 2
    ;;
esac
