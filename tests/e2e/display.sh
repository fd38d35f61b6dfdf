# shellcheck shell=bash
# The private X server the end-to-end runs share, sourced by run_e2e.sh and
# run_accessibility.sh: Xvfb on a display number it picks itself, so that runs beside other X
# servers on this machine never collide, and openbox on it, so that keyboard focus follows each
# new window. The sourcing script provides TMP (its scratch folder) and fail <message>;
# start_x_display sets XVFB_PID, WM_PID and DISPLAY, and the script's clean-up stops both with
# stop_pid.

stop_pid() { # <pid>: ends the process, forcibly after two seconds
    local pid=$1
    [ -n "$pid" ] || return 0
    kill "$pid" 2>/dev/null || return 0
    for _ in $(seq 1 20); do
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.1
    done
    kill -9 "$pid" 2>/dev/null
    wait "$pid" 2>/dev/null
    return 0
}

wait_until() { # <seconds> <command...>: true once the command succeeds
    local deadline=$(($(date +%s) + $1))
    shift
    until "$@"; do
        [ "$(date +%s)" -lt "$deadline" ] || return 1
        sleep 0.1
    done
}

start_x_display() { # <width>x<height> <seconds each step may take>
    Xvfb -displayfd 3 -screen 0 "${1}x24" -nolisten tcp 3>"$TMP/display" >"$TMP/xvfb.log" 2>&1 &
    XVFB_PID=$!
    wait_until "$2" grep -q '[0-9]' "$TMP/display" || fail "Xvfb did not start: $(cat "$TMP/xvfb.log")"
    DISPLAY=":$(tr -dc '0-9' <"$TMP/display")"
    export DISPLAY

    openbox --sm-disable >"$TMP/openbox.log" 2>&1 &
    WM_PID=$!
    # openbox announces itself on the root window; xdotool reads that back.
    wait_until "$2" xdotool get_num_desktops >/dev/null 2>&1 ||
        fail "openbox did not start: $(cat "$TMP/openbox.log")"
}
