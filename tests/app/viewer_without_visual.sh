#!/usr/bin/env bash
# On an X server without a suitable OpenGL visual (an 8-bit screen, see
# own_x_server.sh), the viewer says "Mode graphique non supporté" in a box captioned
# "Problème" and ends with status 1 once the box is dismissed.
#   viewer_without_visual.sh PELMORA SAMPLE
set -uo pipefail
export NO_AT_BRIDGE=1 GDK_BACKEND=x11

"$1" "$2" >/dev/null 2>&1 &
pid=$!
trap 'kill "$pid" 2>/dev/null' EXIT

box=""
for _ in $(seq 1 100); do
    box=$(xdotool search --all --onlyvisible --pid "$pid" --name '^Problème$' 2>/dev/null | head -1)
    [ -n "$box" ] && break
    sleep 0.1
done
[ -n "$box" ] || { echo "FAIL: no \"Problème\" box"; exit 1; }
echo "ok: \"Problème\" box shown"
if xdotool search --all --onlyvisible --pid "$pid" --name '^Pelmora$' >/dev/null 2>&1; then
    echo "FAIL: the main window opened anyway"
    exit 1
fi
xdotool windowfocus --sync "$box"
xdotool key Return
for _ in $(seq 1 50); do
    state=$(ps -o stat= -p "$pid" 2>/dev/null)
    if [ -z "$state" ] || [ "${state:0:1}" = Z ]; then
        wait "$pid"
        status=$?
        [ "$status" = 1 ] && { echo "ok: exit status 1"; exit 0; }
        echo "FAIL: exit status $status"
        exit 1
    fi
    sleep 0.1
done
echo "FAIL: still running after the box was dismissed"
exit 1
