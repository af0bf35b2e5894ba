#!/usr/bin/env bash
# Moving about the model in the real viewer: a middle drag moves the picture
# without turning it, "Vue initiale" (R) brings back the first picture
# exactly, the numeric pad's 1 the front view, a double click centres on the
# point under it. Run on an X server of its own:
#   own_x_server.sh 1280x1024x24 viewer_navigation.sh PELMORA SEND-CLOSE SAMPLES-DIR WORK-DIR
set -uo pipefail

pelmora=$1
send_close=$2
samples=$3
work=$4
rm -rf "$work" && mkdir -p "$work"
export NO_AT_BRIDGE=1 GDK_BACKEND=x11

source "$(dirname "$0")/viewer_driving.sh"

open_viewer first "$samples/cube.x" || exit 1
height=$(identify -format '%h' "$work/first.png")
width=$(identify -format '%w' "$work/first.png")
cx=$((width / 2)) cy=$(((top + height) / 2))
# The canvas below the overlay's lines, whose frame rate changes.
below_overlay="${width}x$((height - top - 100))+0+$((top + 100))"

# The model in a picture, below the overlay: its middle (mid_x, mid_y), its
# top row (box_top) and its pixels.
place_model() {  # picture
    local w h
    IFS='x+' read -r w h mid_x box_top < <(convert "$1" -crop "$below_overlay" +repage -fuzz 4% -format '%@' info:)
    mid_x=$((mid_x + w / 2)) mid_y=$((box_top + h / 2))
    pixels=$(count_unlike "$1" "$background" ${below_overlay//[x+]/ }) && pixels=${pixels%.*}
}
drag() {  # button dx dy: from the middle, in steps
    xdotool mousemove --window "$window" $cx $cy mousedown "$1"
    for step in 1 2 3 4 5; do
        xdotool mousemove --window "$window" $((cx + $2 * step / 5)) $((cy + $3 * step / 5)); sleep 0.05
    done
    xdotool mouseup "$1"
}
place_model "$work/first.png"
first_x=$mid_x first_y=$mid_y first_top=$box_top first_pixels=$pixels

# A middle drag of 100 pixels to the right: the cube follows the cursor (its
# front face, at nine tenths of the centre's depth, somewhat faster than the
# centre) and is not turned: the same top row, as many pixels within a fifth.
drag 2 100 0
shot_changed panned first 1000; shot panned  # once the last move is drawn
place_model "$work/panned.png"
moved=$((mid_x - first_x))
check "first_pixels > 3000 && (moved - 107) ** 2 <= 100 && (box_top - first_top) ** 2 <= 16 &&
       (5 * (pixels - first_pixels)) ** 2 <= first_pixels ** 2" \
    "middle drag moves the picture $moved pixels unturned (top row $first_top to $box_top, $first_pixels to $pixels pixels)"

# Turned and zoomed after the pan, then R: the first picture, pixel for pixel.
drag 1 40 25
xdotool mousemove --window "$window" $cx $cy click 4 click 4
shot_changed moved panned 1000; shot moved  # once the last move is drawn
keys r
shot_changed restored moved 1000; shot restored
changed=$(differing "$work/first.png" "$work/restored.png" 0 "$below_overlay")
check "changed == 0" "R restores the first picture pixel for pixel ($changed pixels differ)"

# Turned, then "Vue de face" by the numeric pad's 1: the first picture again (angles 0, 0).
drag 1 30 20
shot_changed turned restored 300; shot turned
away=$(differing "$work/restored.png" "$work/turned.png" 0 "$below_overlay")
keys KP_1
shot front
changed=$(differing "$work/first.png" "$work/front.png" 0 "$below_overlay")
check "away > 300 && changed == 0" "the pad's 1 after a turn ($away pixels): the front view ($changed pixels differ)"

# A double click on the cube 30 pixels right of and 20 below the middle
# brings that point to the middle; the model's middle moves as much, less a
# tenth (the point clicked was a tenth nearer than the centre).
xdotool mousemove --window "$window" $((cx + 30)) $((cy + 20)) click --repeat 2 --delay 80 1
shot_changed centred front 500; shot centred  # once the last move is drawn
place_model "$work/centred.png"
dx=$((mid_x - first_x)) dy=$((mid_y - first_y))
check "(dx + 27) ** 2 <= 64 && (dy + 18) ** 2 <= 64" "double click centres the point under the cursor (the model moved $dx, $dy)"

close_and_report
