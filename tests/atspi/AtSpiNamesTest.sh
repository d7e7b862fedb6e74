#!/usr/bin/env bash
# Starts the game on a private X server with a session bus and the accessibility bus, and has
# Debian's pyatspi, a client we did not write, read its tree and find every control's name.
# Then it plays one move from the keyboard (xdotool) and reads the board again.
# Usage: AtSpiNamesTest.sh GAME CORVALIN_DAT DATA_DIR
set -euo pipefail

game=$1
dat=$2
data=$3
here=$(cd "$(dirname "$0")" && pwd)

work=$(mktemp -d)
pids=()
cleanup() {
    local status=$?
    # A game that never reached the bus says why here, and so do the buses.
    if [[ $status -ne 0 && -s "$work/game.log" ]]; then
        grep -m1 -A30 "ERROR: AddressSanitizer\|runtime error" "$work/game.log" ||
            tail -n 20 "$work/game.log"
    fi
    [[ $status -ne 0 && -s "$work/bus.log" ]] && tail -n 20 "$work/bus.log"
    for ((i = ${#pids[@]} - 1; i >= 0; i--)); do kill "${pids[i]}" 2>/dev/null || true; done
    wait 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

# The game keeps its data beside itself: a copy of its own, so no other run is disturbed.
cp "$game" "$data"/Skin.dat "$data"/Pic.dat "$data"/Score.dat "$work"/

Xvfb -displayfd 3 -noreset -screen 0 1024x768x24 3>"$work/display" 2>"$work/xvfb.log" &
pids+=($!)
for _ in $(seq 100); do [[ -s "$work/display" ]] && break; sleep 0.1; done
export DISPLAY=":$(cat "$work/display")"

# The bus daemons and what they start report to a log of their own, shown on failure.
eval "$(dbus-launch --sh-syntax 2>>"$work/bus.log")"
pids+=("$DBUS_SESSION_BUS_PID")
/usr/libexec/at-spi-bus-launcher --launch-immediately >>"$work/bus.log" 2>&1 &
pids+=($!)

# The X keyboard library copies reply strings with strndup past their end, which the
# sanitizers' strict string checks report at start-up; that code is not ours.
if [[ -n "${ASAN_OPTIONS:-}" ]]; then
    export ASAN_OPTIONS="${ASAN_OPTIONS//strict_string_checks=1/strict_string_checks=0}"
fi
QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 QT_QPA_PLATFORM=xcb "$work/$(basename "$game")" \
    2>"$work/game.log" &
pids+=($!)

picture=$("$dat" list "$work/Pic.dat" | head -n 1 | cut -f 2)
/usr/bin/python3 "$here/ReadTree.py" Corvalin "${picture%????}"

# A new game and one tile slid right, from the keyboard: the bus follows the board.
echo "--- after F2 and Right"
xdotool key F2
sleep 0.5
xdotool key Right
sleep 0.5
/usr/bin/python3 "$here/ReadTree.py" Corvalin "${picture%????}" played
