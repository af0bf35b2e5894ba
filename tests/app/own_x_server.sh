#!/usr/bin/env bash
# Runs a command against an X server of its own, which no other test or
# build on the machine can share, with a window manager (openbox) running on
# it as on any desktop:
#   own_x_server.sh "SCREEN" COMMAND [ARGUMENT...]     e.g. SCREEN = "1280x1024x24"
# Xvfb picks a free display number itself (-displayfd), so two servers
# started together never take the same one (as "xvfb-run -a" can, across
# build folders); it never starts over when its last client leaves
# (-noreset); and the command starts only once the server answers and the
# window manager has taken the screen. Under a window manager a window is
# mapped some time after it is shown, not at once as on a bare server.
set -uo pipefail
screen=$1
shift
fifo=$(mktemp -u)
mkfifo "$fifo"
Xvfb -displayfd 3 -screen 0 "$screen" -noreset -nolisten tcp 3>"$fifo" 2>/dev/null &
server=$!
manager=""
trap 'kill $manager "$server" 2>/dev/null; wait $manager "$server" 2>/dev/null; rm -f "$fifo"' EXIT
display=""
read -r -t 30 display <"$fifo"
if [ -z "$display" ]; then
    echo "FAIL: no X server started"
    exit 1
fi
export DISPLAY=":$display"
for _ in $(seq 1 100); do
    xdotool getdisplaygeometry >/dev/null 2>&1 && break
    sleep 0.1
done
xdotool getdisplaygeometry >/dev/null 2>&1 || { echo "FAIL: the X server on $DISPLAY does not answer"; exit 1; }

openbox --sm-disable >/dev/null 2>&1 &
manager=$!
# The window manager has the screen once it names its check window on the root.
for _ in $(seq 1 100); do
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id" && break
    sleep 0.1
done
xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id" ||
    { echo "FAIL: no window manager on $DISPLAY"; exit 1; }
"$@"
