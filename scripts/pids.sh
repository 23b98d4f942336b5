# Sourced by the test beds: processes they started, stopped again by the pid they wrote down.

# Running and not yet a zombie: where nothing reaps an orphaned process (a container's first
# process may not), an ended one stays a zombie, which kill -0 still finds.
alive() { # pid
    local status
    status="$(ps -o stat= -p "$1" 2>/dev/null)" && [ -n "$status" ] && [ "${status#Z}" = "$status" ]
}

# TERM, up to 3 s to end, then KILL; the pid file goes.
stop_pid() { # pidfile
    [ -f "$1" ] || return 0
    local pid
    pid="$(cat "$1")"
    kill -TERM "$pid" 2>/dev/null || true
    for _ in $(seq 60); do
        alive "$pid" || break
        sleep 0.05
    done
    kill -KILL "$pid" 2>/dev/null || true
    rm -f "$1"
}
