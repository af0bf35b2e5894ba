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
pelmora=$1
no_context=${3:-}

source "$(dirname "$0")/viewer_driving.sh"

if [ "$no_context" = no-context ]; then
    MESA_GL_VERSION_OVERRIDE=0.5 "$pelmora" "$2" >/dev/null 2>&1 &
else
    "$pelmora" "$2" >/dev/null 2>&1 &
fi
pid=$!
started+=("$pid")

wait_for_box Problème || { fail "no \"Problème\" box (process: $(ps -o stat= -p "$pid"))"; exit 1; }
pass "\"Problème\" box shown"
if [ "$no_context" != no-context ] &&
   xdotool search --all --onlyvisible --pid "$pid" --name '^Pelmora$' >/dev/null 2>&1; then
    fail "the main window opened anyway"
fi
xdotool windowfocus --sync "$box"
xdotool key Return
wait_exit
[ "$status" = 1 ] && pass "exit status 1" || fail "exit status $status once the box was dismissed"
[ "$failures" -eq 0 ]
