#!/usr/bin/env bash
# The Windows test bed: Wine on an X server with two monitors that Wine sees as two (it reads
# RandR outputs, not RandR monitors): Xorg with the dummy video driver, its two outputs tied to two
# 1920x1080 monitors side by side, and a Wine prefix of its own (a prefix's server remembers the
# screens it first saw). Xorg and its dummy driver are unpacked from Debian's packages into a cache
# folder (VARDO_XORG_DUMMY, default /var/cache/vardo/xorg-dummy), not installed.
#   winebed.sh start STATE_DIR   starts it; writes display and wineprefix into STATE_DIR
#   winebed.sh stop STATE_DIR    stops the prefix's Wine server and Xorg, by pid
set -uo pipefail
source "$(dirname "$0")/pids.sh"
state="${2:?usage: winebed.sh start|stop STATE_DIR}"
xorg="${VARDO_XORG_DUMMY:-/var/cache/vardo/xorg-dummy}"

unpack_xorg() {
    [ -x "$xorg/root/usr/lib/xorg/Xorg" ] && [ -e "$xorg/root/usr/lib/xorg/modules/drivers/dummy_drv.so" ] &&
        return 0
    mkdir -p "$xorg" && rm -f "$xorg"/*.deb
    (cd "$xorg" && apt-get download -qq xserver-xorg-core xserver-xorg-video-dummy 2>/dev/null) ||
        { echo "xserver-xorg-core and xserver-xorg-video-dummy could not be downloaded" >&2; return 1; }
    for package in "$xorg"/*.deb; do dpkg-deb -x "$package" "$xorg/root"; done
}

write_config() {
    cat >"$state/xorg.conf" <<'CONF'
Section "ServerFlags"
    Option "AutoAddDevices" "false"
    Option "AutoEnableDevices" "false"
    Option "DontVTSwitch" "true"
EndSection
Section "Device"
    Identifier "dummy"
    Driver "dummy"
    VideoRam 256000
    Option "Monitor-DUMMY0" "Monitor0"
    Option "Monitor-DUMMY1" "Monitor1"
EndSection
Section "Monitor"
    Identifier "Monitor0"
    HorizSync 5.0-1000.0
    VertRefresh 5.0-200.0
    Modeline "1920x1080" 148.50 1920 2008 2052 2200 1080 1084 1089 1125 +hsync +vsync
    Option "PreferredMode" "1920x1080"
EndSection
Section "Monitor"
    Identifier "Monitor1"
    HorizSync 5.0-1000.0
    VertRefresh 5.0-200.0
    Modeline "1920x1080" 148.50 1920 2008 2052 2200 1080 1084 1089 1125 +hsync +vsync
    Option "PreferredMode" "1920x1080"
    Option "Enable" "true"
    Option "RightOf" "Monitor0"
EndSection
Section "Screen"
    Identifier "screen"
    Device "dummy"
    Monitor "Monitor0"
    DefaultDepth 24
    SubSection "Display"
        Depth 24
        Virtual 3840 1080
    EndSubSection
EndSection
CONF
}

start_xorg() {
    rm -f "$state/display"
    mkdir -p "$state/xorg.conf.d"
    "$xorg/root/usr/lib/xorg/Xorg" -config "$state/xorg.conf" -configdir "$state/xorg.conf.d" \
        -modulepath "$xorg/root/usr/lib/xorg/modules" -sharevts -novtswitch -keeptty -noreset \
        -nolisten tcp -logfile "$state/xorg.log" -displayfd 3 3>"$state/display" \
        >"$state/xorg.out" 2>&1 &
    echo $! >"$state/xorg.pid"
    for _ in $(seq 200); do
        [ -s "$state/display" ] && break
        sleep 0.05
    done
    [ -s "$state/display" ] || { echo "Xorg did not start (see $state/xorg.log)" >&2; return 1; }
    echo ":$(tr -d '[:space:]' <"$state/display")" >"$state/display"
}

# The prefix is made on the first start, with the two monitors already there; its server is
# started here so that the tests find it running (a program starts in a fraction of a second then).
start_wine() {
    local prefix="$state/prefix"
    export DISPLAY; DISPLAY="$(cat "$state/display")"
    export WINEPREFIX="$prefix" WINEDEBUG=-all
    echo "$prefix" >"$state/wineprefix"
    wineserver -f -p >"$state/wineserver.log" 2>&1 &
    echo $! >"$state/wineserver.pid"
    wineboot -i >"$state/wineboot.log" 2>&1 ||
        { echo "wineboot failed (see $state/wineboot.log)" >&2; return 1; }
}

case "$1" in
start)
    mkdir -p "$state"
    unpack_xorg && write_config && start_xorg && start_wine
    ;;
stop)
    [ -f "$state/wineprefix" ] && WINEPREFIX="$(cat "$state/wineprefix")" wineserver -k 2>/dev/null
    stop_pid "$state/wineserver.pid"
    stop_pid "$state/xorg.pid"
    ;;
*)
    echo "usage: winebed.sh start|stop STATE_DIR" >&2
    exit 2
    ;;
esac
