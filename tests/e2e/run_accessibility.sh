#!/usr/bin/env bash
# The program as a screen reader sees it: starts the real logger on a private X server with
# the accessibility bus (dbus-run-session, at-spi2-core) and has check_accessibility.py walk
# the accessibility tree the way Orca reads it.
#
#   run_accessibility.sh <path-to-corvane> <path-to-check_accessibility.py>
#
# Exit status: 0 passed, 1 failed, 77 a required tool is missing (skipped).

set -uo pipefail

if [ $# -ne 2 ]; then
    echo "usage: $0 <path-to-corvane> <check_accessibility.py>" >&2
    exit 2
fi

# Debian's Python, where python3-pyatspi lives (a python3 earlier on PATH may not see it).
PYTHON=/usr/bin/python3
[ -x "$PYTHON" ] || PYTHON=python3
export PYTHON

if [ -z "${CORVANE_A11Y_SESSION:-}" ]; then
    for tool in Xvfb openbox xdotool dbus-run-session "$PYTHON"; do
        if ! command -v "$tool" >/dev/null 2>&1; then
            echo "a11y: $tool is not installed; skipped (scripts/install-deps.sh installs it)" >&2
            exit 77
        fi
    done
    if ! "$PYTHON" -c 'import pyatspi' 2>/dev/null || [ ! -x /usr/libexec/at-spi-bus-launcher ]; then
        echo "a11y: python3-pyatspi or at-spi2-core is missing; skipped" >&2
        exit 77
    fi
    TMP=$(mktemp -d "${TMPDIR:-/tmp}/corvane-a11y.XXXXXX")
    export HOME="$TMP/home" XDG_RUNTIME_DIR="$TMP/runtime"
    export XDG_CONFIG_HOME="$HOME/.config" XDG_DATA_HOME="$HOME/.local/share" XDG_CACHE_HOME="$HOME/.cache"
    mkdir -p "$HOME" "$XDG_RUNTIME_DIR" "$XDG_CONFIG_HOME" "$XDG_DATA_HOME" "$XDG_CACHE_HOME"
    chmod 700 "$XDG_RUNTIME_DIR"
    unset DBUS_SESSION_BUS_ADDRESS AT_SPI_BUS_ADDRESS SESSION_MANAGER XAUTHORITY WAYLAND_DISPLAY
    export CORVANE_A11Y_SESSION="$TMP"
    # A private session bus for the whole run; the accessibility bus starts on it on demand.
    timeout 280 dbus-run-session -- bash "$0" "$@"
    status=$?
    rm -rf "$TMP"
    exit $status
fi

TMP=$CORVANE_A11Y_SESSION
CORVANE=$(readlink -f "$1")
CHECKER=$(readlink -f "$2")
APP_PID="" WM_PID="" XVFB_PID="" ORCA_PID=""

# stop_pid, wait_until and start_x_display: the X server both end-to-end runners start.
# shellcheck source=tests/e2e/display.sh
source "$(dirname "${BASH_SOURCE[0]}")/display.sh"

cleanup() {
    stop_pid "$ORCA_PID"
    stop_pid "$APP_PID"
    stop_pid "$WM_PID"
    stop_pid "$XVFB_PID"
}
trap cleanup EXIT

fail() {
    echo "a11y: FAIL: $*" >&2
    [ -s "$TMP/corvane.log" ] && sed 's/^/    /' "$TMP/corvane.log" >&2
    exit 1
}
find_window() {
    WID=$(xdotool search --onlyvisible --name "^${1}\$" 2>/dev/null | head -n 1)
    [ -n "$WID" ]
}
wait_window() {
    wait_until 15 find_window "$1" || fail "no window '$1'"
    xdotool windowactivate "$WID" 2>/dev/null
    sleep 0.5
}
keys() { xdotool key --clearmodifiers --delay 60 "$@" || fail "xdotool key $*"; }
typed() { xdotool type --clearmodifiers --delay 60 -- "$1" || fail "xdotool type $1"; }

start_x_display 1280x1024 10

mkdir -p "$TMP/work"
export QT_QPA_PLATFORM=xcb QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 QT_ACCESSIBILITY=1 TZ=UTC LANG=C.UTF-8 LC_ALL=C.UTF-8
(cd "$TMP/work" && exec "$CORVANE") >"$TMP/corvane.log" 2>&1 &
APP_PID=$!

wait_window "New Contest Folder"
keys Return
wait_window " Amateur Station I\\.D\\."
typed w1xyz
keys Tab
typed fn20
keys Return
wait_window "Open existing log\\?"
keys Return
wait_window "Varkel's Corvane Contest Log 1\\.2"
typed k2def
keys space
typed fn31
keys Return
sleep 0.5

E2E_SHOTS=${E2E_SHOTS:-}
if [ -n "$E2E_SHOTS" ] && command -v import >/dev/null 2>&1; then
    mkdir -p "$E2E_SHOTS" && import -window root "$E2E_SHOTS/accessibility-main.png" 2>/dev/null
fi
"$PYTHON" "$CHECKER" || fail "the accessibility tree is not as a screen reader needs it"
# Every window the Ctrl keys and the menus open, each read as a screen reader reads it.
"$PYTHON" "$(dirname "$CHECKER")/check_every_window.py" || fail "a window has a control a screen reader cannot name"
wait_window "Varkel's Corvane Contest Log 1\\.2"

# What a blind operator hears: the real Orca, its speech written to its debug file. A call
# already logged, typed again and Tab: the refusal is spoken within a second.
if command -v orca >/dev/null 2>&1; then
    mkdir -p "$TMP/orca-prefs"
    orca --replace -u "$TMP/orca-prefs" --debug-file "$TMP/orca.debug" >"$TMP/orca.log" 2>&1 &
    ORCA_PID=$!
    spoken() { grep -a "SPEECH OUTPUT: '.*$1" "$TMP/orca.debug" >/dev/null 2>&1; }
    wait_until 60 grep -aq "ORCA: Launching version" "$TMP/orca.debug" ||
        fail "Orca did not start: $(tail -n 5 "$TMP/orca.debug" 2>/dev/null)"
    sleep 6 # Orca reads the desktop before it speaks; the keys held after the checker's refusal are through
    typed k2def
    tab_at=$(date +%H:%M:%S.%N)
    keys Tab
    # Orca writes its debug file through a buffer: it is complete once Orca has ended.
    sleep 2
    kill -TERM "$ORCA_PID" 2>/dev/null
    orca_ended() { ! kill -0 "$ORCA_PID" 2>/dev/null; }
    wait_until 15 orca_ended || stop_pid "$ORCA_PID"
    ORCA_PID=""
    spoken "Duplicate K2DEF" ||
        fail "Orca did not speak the refused duplicate; it said: $(grep -a 'SPEECH OUTPUT' "$TMP/orca.debug" | tail -n 12)"
    "$PYTHON" "$(dirname "$CHECKER")/orca_spoke_in_time.py" "$TMP/orca.debug" "$tab_at" "Duplicate K2DEF" ||
        fail "Orca spoke the refusal late"
else
    echo "a11y: orca is not installed: what it speaks was not checked (scripts/install-deps.sh installs it)" >&2
fi
echo "a11y: passed" >&2
