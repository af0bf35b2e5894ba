#!/usr/bin/env bash
# The "Scène" panel in the real viewer: F9 opens it beside the canvas with
# the frame tree; a mesh's check box hides that mesh alone; selecting a mesh
# draws its box; the tree keeps Space and the arrows while it has the focus.
# Run on an X server of its own:
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

# Pixels near one colour (fuzz 30%, for the lit shades) in a region.
count_like() {  # picture colour width height x y
    convert "$1" -crop "$3x$4+$5+$6" +repage -fuzz 30% -fill black +opaque "$2" -fill white -opaque "$2" \
        -format "%[fx:int(mean*w*h+0.5)]" info:
}

start_viewer --fit "$model" || exit 1
wait_for_frames || exit 1
shot closed
top=$(canvas_top "$work/closed.png")
[ "$top" -gt 0 ] || { fail "no canvas found"; exit 1; }
[ "$(count_like "$work/closed.png" blue 638 300 0 "$top")" -gt 1000 ] && pass "closed at start: the canvas takes the window" ||
    fail "no blue square at start"

keys F9
shot open
# The tree's first column holds white rows; the canvas starts right of them.
panel=$(count_white "$work/open.png" 200 150 0 $((top + 30)))
[ "$panel" -gt 15000 ] && pass "F9 opens the panel ($panel white pixels)" || fail "no panel after F9 ($panel white pixels)"
blue_open=$(count_like "$work/open.png" blue 300 300 338 "$top")
red_open=$(count_like "$work/open.png" red 300 300 338 "$top")
[ "$blue_open" -gt 1000 ] && [ "$red_open" -gt 1000 ] && pass "both squares beside the panel" ||
    fail "squares beside the panel: red $red_open, blue $blue_open pixels"

# Rows: Scene, Left, Child, Right, 23 pixels apart from the first below the header.
row_y() { echo $((top + 37 + 23 * $1)); }
# The check box of "Right" (fourth row, two levels in).
xdotool mousemove --window "$window" 81 "$(row_y 3)" click 1
shot hidden
blue_hidden=$(count_like "$work/hidden.png" blue 300 300 338 "$top")
red_hidden=$(count_like "$work/hidden.png" red 300 300 338 "$top")
[ "$blue_hidden" -lt 50 ] && [ "$red_hidden" -gt $((red_open * 9 / 10)) ] &&
    pass "the check box hides its mesh alone" || fail "after the check box: red $red_hidden, blue $blue_hidden pixels"

# Checked again with Space from the keyboard, the tree holding the focus:
# the frame's char hook leaves the key to it.
keys space
shot shown
blue_shown=$(count_like "$work/shown.png" blue 300 300 338 "$top")
[ "$blue_shown" -gt $((blue_open * 9 / 10)) ] && pass "Space in the tree shows the mesh again" ||
    fail "Space in the tree: blue $blue_shown pixels (open: $blue_open)"

# Selecting "Left" (its name) draws its box, translucent over the red
# square (flat as the square is); the blue one stays as it was.
xdotool mousemove --window "$window" 78 "$(row_y 1)" click 1
shot selected
red_selected=$(count_like "$work/selected.png" red 300 300 338 "$top")
blue_selected=$(count_like "$work/selected.png" blue 300 300 338 "$top")
[ "$red_selected" -lt $((red_open / 2)) ] && [ "$blue_selected" -gt $((blue_open * 9 / 10)) ] &&
    pass "the selected mesh's box drawn over it alone" ||
    fail "after selecting Left: red $red_selected (open: $red_open), blue $blue_selected pixels"

keys F9
shot reclosed
panel=$(count_white "$work/reclosed.png" 200 150 0 $((top + 30)))
[ "$panel" -lt 1000 ] && pass "F9 closes the panel" || fail "panel still there after a second F9"

keys ctrl+q
wait_exit
[ "$status" = 0 ] && pass "closed" || fail "exit status $status"
[ "$failures" -eq 0 ] || exit 1
