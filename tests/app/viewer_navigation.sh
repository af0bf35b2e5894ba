#!/usr/bin/env bash
# A middle drag moves the picture without turning it; "Vue initiale" (R) brings back the first
# picture exactly. Run on an X server of its own:
#   own_x_server.sh 1280x1024x24 viewer_navigation.sh PELMORA SEND-CLOSE SAMPLES-DIR WORK-DIR
set -uo pipefail
pelmora=$1 send_close=$2 samples=$3 work=$4
rm -rf "$work" && mkdir -p "$work"
export NO_AT_BRIDGE=1 GDK_BACKEND=x11
source "$(dirname "$0")/viewer_driving.sh"
open_viewer first "$samples/cube.x" || exit 1
IFS=x read -r width height < <(identify -format '%wx%h' "$work/first.png")
cx=$((width / 2)) cy=$(((top + height) / 2))
below_overlay="${width}x$((height - top - 100))+0+$((top + 100))"  # the frame rate's line changes
# The model below the overlay: its middle column mid_x, its top row box_top and its pixels.
place_model() {  # picture
    local w h
    IFS='x+' read -r w h mid_x box_top < <(convert "$1" -crop "$below_overlay" +repage -fuzz 4% -format '%@' info:)
    mid_x=$((mid_x + w / 2)) pixels=$(count_unlike "$1" "$background" ${below_overlay//[x+]/ }) && pixels=${pixels%.*}
}
drag() {  # button dx dy: from the middle, in steps
    xdotool mousemove --window "$window" $cx $cy mousedown "$1"
    for s in 1 2 3 4 5; do xdotool mousemove --window "$window" $((cx + $2 * s / 5)) $((cy + $3 * s / 5)); sleep 0.05; done
    xdotool mouseup "$1"
}
place_model "$work/first.png"
first_x=$mid_x first_top=$box_top first_pixels=$pixels
# Middle drag of 100 pixels: the front face (nine tenths of the centre's depth) follows a little faster.
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
shot_changed moved panned 1000; shot moved
keys r
shot_changed restored moved 1000; shot restored
changed=$(differing "$work/first.png" "$work/restored.png" 0 "$below_overlay")
check "changed == 0" "R restores the first picture pixel for pixel ($changed pixels differ)"
close_and_report
