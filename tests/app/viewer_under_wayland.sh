#!/usr/bin/env bash
# The viewer in a Wayland session (run under own_weston.sh): started as the
# session has it, then as in a session whose toolkit programs prefer Wayland
# (GDK_BACKEND=wayland). Each time its window opens through XWayland, draws
# the model, and closes with status 0.
#   viewer_under_wayland.sh PELMORA SEND-CLOSE MODEL WORK-DIR
set -uo pipefail
starts="$(dirname "$0")/viewer_starts.sh"
"$starts" "$1" "$2" "$3" "$4/session" 2 || exit 1
GDK_BACKEND=wayland "$starts" "$1" "$2" "$3" "$4/prefers-wayland" 1
