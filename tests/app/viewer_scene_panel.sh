#!/usr/bin/env bash
# In the "Scène" panel (F9), a mesh's check box hides that mesh alone. Run on an X server of its own:
#   own_x_server.sh 1280x1024x24 viewer_scene_panel.sh PELMORA MODEL WORK-DIR
# MODEL: a red square (mesh "Left", frame "Scene") left of a blue one (mesh "Right", frame "Child" under "Scene").
set -uo pipefail
pelmora=$1 model=$2 work=$3
rm -rf "$work" && mkdir -p "$work"
export NO_AT_BRIDGE=1 GDK_BACKEND=x11
source "$(dirname "$0")/viewer_driving.sh"
beside_panel() { count_like "$work/$1.png" "$2" 300 300 338 "$top"; }
open_viewer closed --fit "$model" || exit 1
keys F9
shot open
red_open=$(beside_panel open red) blue_open=$(beside_panel open blue)
# Rows Scene, Left, Child, Right, 23 pixels apart: the check box of "Right", two levels in.
xdotool mousemove --window "$window" 81 $((top + 37 + 23 * 3)) click 1
shot hidden
red=$(beside_panel hidden red) blue=$(beside_panel hidden blue)
check "red_open > 1000 && blue_open > 1000 && blue < 50 && 10 * red > 9 * red_open" \
    "the check box hides its mesh alone (red $red_open to $red, blue $blue_open to $blue pixels)"
close_and_report ctrl+q
