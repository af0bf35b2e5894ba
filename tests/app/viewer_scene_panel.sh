#!/usr/bin/env bash
# The "Scène" panel in the real viewer: F9 opens it beside the canvas with
# the frame tree; a mesh's check box hides that mesh alone; the tree keeps
# Space while it has the focus. Run on an X server of its own:
#   own_x_server.sh 1280x1024x24 viewer_scene_panel.sh PELMORA MODEL WORK-DIR
# MODEL: a red square (mesh "Left", on frame "Scene") left of a blue one
# (mesh "Right", on frame "Child" under "Scene").
set -uo pipefail

pelmora=$1
model=$2
work=$3
rm -rf "$work" && mkdir -p "$work"
export NO_AT_BRIDGE=1 GDK_BACKEND=x11

source "$(dirname "$0")/viewer_driving.sh"

# Pixels of the squares' colour beside the panel.
beside_panel() { count_like "$work/$1.png" "$2" 300 300 338 "$top"; }

open_viewer closed --fit "$model" || exit 1
keys F9
shot open
# The tree's first column holds white rows; the canvas starts right of them.
panel=$(count_white "$work/open.png" 200 150 0 $((top + 30)))
red_open=$(beside_panel open red) blue_open=$(beside_panel open blue)
check "panel > 15000 && red_open > 1000 && blue_open > 1000" \
    "F9 opens the panel ($panel white pixels) beside both squares (red $red_open, blue $blue_open pixels)"

# Rows: Scene, Left, Child, Right, 23 pixels apart from the first below the
# header. The check box of "Right" (fourth row, two levels in):
xdotool mousemove --window "$window" 81 $((top + 37 + 23 * 3)) click 1
shot hidden
red=$(beside_panel hidden red) blue=$(beside_panel hidden blue)
check "blue < 50 && 10 * red > 9 * red_open" "the check box hides its mesh alone (red $red, blue $blue pixels)"

# Checked again with Space, the tree holding the focus: the frame's key hook
# leaves the key to it.
keys space
shot shown
blue=$(beside_panel shown blue)
check "10 * blue > 9 * blue_open" "Space in the tree shows the mesh again (blue $blue pixels)"

close_and_report ctrl+q
