#!/usr/bin/env bash
# When the display cannot serve the viewer's OpenGL, the viewer says
# "Mode graphique non supporté" in a box captioned "Problème" and ends with
# status 1 once the box is dismissed:
#   viewer_without_visual.sh PELMORA SAMPLE              on an X server without a suitable
#                                                        visual (an 8-bit screen): no main window
#   viewer_without_visual.sh PELMORA SAMPLE no-context   a visual, but no context can be made
#                                                        (Mesa asked for an OpenGL version that
#                                                        does not exist), found once the window is up
set -uo pipefail
export NO_AT_BRIDGE=1 GDK_BACKEND=x11
no_context=${3:-}

if [ "$no_context" = no-context ]; then
    MESA_GL_VERSION_OVERRIDE=0.5 "$1" "$2" >/dev/null 2>&1 &
else
    "$1" "$2" >/dev/null 2>&1 &
fi
pid=$!
trap 'kill "$pid" 2>/dev/null' EXIT

box=""
for _ in $(seq 1 100); do
    box=$(xdotool search --all --onlyvisible --pid "$pid" --name '^Problème$' 2>/dev/null | head -1)
    [ -n "$box" ] && break
    state=$(ps -o stat= -p "$pid" 2>/dev/null)
    if [ -z "$state" ] || [ "${state:0:1}" = Z ]; then
        wait "$pid"
        echo "FAIL: ended with status $? without a \"Problème\" box"
        exit 1
    fi
    sleep 0.1
done
[ -n "$box" ] || { echo "FAIL: no \"Problème\" box"; exit 1; }
echo "ok: \"Problème\" box shown"
if [ "$no_context" != no-context ] &&
   xdotool search --all --onlyvisible --pid "$pid" --name '^Pelmora$' >/dev/null 2>&1; then
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
