#!/usr/bin/env bash
# The X test bed: one Xvfb screen of 3840x1080 split into two 1920x1080 RandR monitors with openbox
# as a reparenting window manager in its stock configuration (its key and mouse bindings, Alt+Space
# for the window menu among them, as on an operator's desktop), and a second bare Xvfb without any
# window manager.
#   xbed.sh start STATE_DIR   starts both; writes wm.display, bare.display and the pids into STATE_DIR
#   xbed.sh stop STATE_DIR    stops everything it started, by pid
set -uo pipefail
source "$(dirname "$0")/pids.sh"
state="${2:?usage: xbed.sh start|stop STATE_DIR}"

start_xvfb() { # name
    local name="$1"
    rm -f "$state/$name.display"
    Xvfb -displayfd 3 -screen 0 3840x1080x24 -nolisten tcp -noreset 3>"$state/$name.display" \
        >"$state/$name.xvfb.log" 2>&1 &
    echo $! >"$state/$name.xvfb.pid"
    for _ in $(seq 100); do
        [ -s "$state/$name.display" ] && break
        sleep 0.05
    done
    [ -s "$state/$name.display" ] || { echo "Xvfb ($name) did not start" >&2; return 1; }
    local display=":$(tr -d '[:space:]' <"$state/$name.display")"
    echo "$display" >"$state/$name.display"
    DISPLAY="$display" xrandr --setmonitor '*MON1' 1920/508x1080/286+0+0 screen >/dev/null &&
        DISPLAY="$display" xrandr --setmonitor MON2 1920/508x1080/286+1920+0 none >/dev/null ||
        { echo "the two monitors of Xvfb ($name) could not be set" >&2; return 1; }
}

start_openbox() {
    local display; display="$(cat "$state/wm.display")"
    rm -f "$state/openbox.ready"
    DISPLAY="$display" openbox --sm-disable --config-file /etc/xdg/openbox/rc.xml \
        --startup "touch $state/openbox.ready" >"$state/openbox.log" 2>&1 &
    echo $! >"$state/openbox.pid"
    for _ in $(seq 200); do
        [ -e "$state/openbox.ready" ] && return 0
        sleep 0.05
    done
    echo "openbox did not start" >&2
    return 1
}


case "$1" in
start)
    mkdir -p "$state"
    start_xvfb wm && start_openbox && start_xvfb bare
    ;;
stop)
    stop_pid "$state/openbox.pid"
    stop_pid "$state/wm.xvfb.pid"
    stop_pid "$state/bare.xvfb.pid"
    ;;
*)
    echo "usage: xbed.sh start|stop STATE_DIR" >&2
    exit 2
    ;;
esac
