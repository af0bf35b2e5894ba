#!/usr/bin/env bash
# Runs a command in a Wayland session of its own, as on most desktops today:
# weston with its headless backend and XWayland, on a runtime folder and a
# socket that no other test shares.
#   own_weston.sh COMMAND [ARGUMENT...]
# The command sees WAYLAND_DISPLAY and the DISPLAY of weston's XWayland (an X
# client then goes through XWayland, with weston's own window manager), and
# no GDK_BACKEND: what a program chooses is what a desktop session gets.
set -uo pipefail
runtime=$(mktemp -d)
chmod 700 "$runtime"
export XDG_RUNTIME_DIR=$runtime
unset GDK_BACKEND DISPLAY WAYLAND_DISPLAY
log=$runtime/weston.log
# XWayland's sockets go there; an X server makes the folder, weston does not.
if [ ! -d /tmp/.X11-unix ]; then
    mkdir -p /tmp/.X11-unix && chmod 1777 /tmp/.X11-unix || { echo "FAIL: cannot make /tmp/.X11-unix"; exit 1; }
fi
weston --backend=headless-backend.so --xwayland --socket=wayland-pelmora --idle-time=0 \
       --width=1280 --height=1024 --log="$log" >/dev/null 2>&1 &
compositor=$!
trap 'kill "$compositor" 2>/dev/null; wait "$compositor" 2>/dev/null; rm -rf "$runtime"' EXIT

# Weston takes a free X display and says which once XWayland's sockets listen.
display=""
for _ in $(seq 1 300); do
    display=$(sed -n 's/.*xserver listening on display \(:[0-9]*\).*/\1/p' "$log" 2>/dev/null | head -1)
    [ -n "$display" ] && break
    kill -0 "$compositor" 2>/dev/null || break
    sleep 0.1
done
if [ -z "$display" ]; then
    echo "FAIL: weston did not start with XWayland"
    cat "$log"
    exit 1
fi
export WAYLAND_DISPLAY=wayland-pelmora DISPLAY=$display
# The first X client starts XWayland.
for _ in $(seq 1 100); do
    xdotool getdisplaygeometry >/dev/null 2>&1 && break
    sleep 0.1
done
xdotool getdisplaygeometry >/dev/null 2>&1 || { echo "FAIL: XWayland on $DISPLAY does not answer"; cat "$log"; exit 1; }
"$@"
