#!/usr/bin/env bash
# Moving about the model in the real viewer: a middle drag and a Shift+left
# drag move the picture without turning it, "Vue initiale" (R) brings back
# the first picture exactly, a double click centres on the point under it.
# Run on an X server of its own:
#   own_x_server.sh 1280x1024x24 viewer_navigation.sh PELMORA SEND-CLOSE SAMPLES-DIR WORK-DIR
set -uo pipefail

pelmora=$1
send_close=$2
samples=$3
work=$4
rm -rf "$work" && mkdir -p "$work"
export NO_AT_BRIDGE=1 GDK_BACKEND=x11

source "$(dirname "$0")/viewer_driving.sh"

start_viewer "$samples/cube.x" || exit 1
wait_for_frames || exit 1
shot first
top=$(canvas_top "$work/first.png")
height=$(identify -format '%h' "$work/first.png")
width=$(identify -format '%w' "$work/first.png")
cx=$((width / 2)); cy=$(((top + height) / 2))
# The canvas below the overlay's lines, whose frame rate changes.
below=$((top + 100)); below_height=$((height - below))

# The model's box in the canvas below the overlay, as "WxH+X+Y".
model_box() {
    convert "$1" -crop "${width}x${below_height}+0+${below}" +repage -fuzz 4% -format '%@' info:
}
box_part() {  # box index (0 w, 1 h, 2 x, 3 y)
    local -a parts
    IFS='x+' read -r -a parts <<<"$1"
    echo "${parts[$2]}"
}
middle_of() {  # box axis (0: x, 1: y)
    echo $(($(box_part "$1" $((2 + $2))) + $(box_part "$1" "$2") / 2))
}
# Pixels of the canvas below the overlay that differ at all between two pictures.
differing() {
    convert "$1" -crop "${width}x${below_height}+0+${below}" +repage "$work/one.png"
    convert "$2" -crop "${width}x${below_height}+0+${below}" +repage "$work/other.png"
    compare -metric AE "$work/one.png" "$work/other.png" null: 2>&1 | cut -d' ' -f1
}
near() {  # value expected tolerance
    [ "$1" -ge $(($2 - $3)) ] && [ "$1" -le $(($2 + $3)) ]
}
drag() {  # button dx dy: from the middle, in steps
    xdotool mousemove --window "$window" $cx $cy mousedown "$1"
    for step in 1 2 3 4 5; do
        xdotool mousemove --window "$window" $((cx + $2 * step / 5)) $((cy + $3 * step / 5)); sleep 0.05
    done
    xdotool mouseup "$1"
}

first_box=$(model_box "$work/first.png")
first_pixels=$(count_unlike "$work/first.png" "$background" "$width" "$below_height" 0 "$below")
[ "${first_pixels%.*}" -gt 3000 ] || fail "no model in the first picture ($first_pixels pixels)"

# A middle drag of 100 pixels to the right: the cube follows the cursor (its
# front face, at nine tenths of the centre's depth, somewhat faster than the
# centre) and is not turned.
drag 2 100 0
shot_changed panned first 1000; shot panned  # once the last move is drawn
panned_box=$(model_box "$work/panned.png")
panned_pixels=$(count_unlike "$work/panned.png" "$background" "$width" "$below_height" 0 "$below")
moved=$(($(middle_of "$panned_box" 0) - $(middle_of "$first_box" 0)))
if near "$moved" 107 10 && near "$(box_part "$panned_box" 3)" "$(box_part "$first_box" 3)" 4 &&
    near "${panned_pixels%.*}" "${first_pixels%.*}" $((${first_pixels%.*} / 5)); then
    pass "middle drag moves the picture $moved pixels ($first_box to $panned_box, $first_pixels to $panned_pixels pixels)"
else
    fail "middle drag: $first_box to $panned_box, $first_pixels to $panned_pixels model pixels"
fi

# Shift with the left button pans too: 60 pixels down.
xdotool keydown shift
drag 1 0 60
xdotool keyup shift
shot_changed lowered panned 1000; shot lowered  # once the last move is drawn
lowered_box=$(model_box "$work/lowered.png")
dropped=$(($(middle_of "$lowered_box" 1) - $(middle_of "$panned_box" 1)))
if near "$dropped" 66 8 && near "$(box_part "$lowered_box" 0)" "$(box_part "$panned_box" 0)" 8; then
    pass "Shift+left drag moves the picture $dropped pixels down ($panned_box to $lowered_box)"
else
    fail "Shift+left drag: $panned_box to $lowered_box"
fi

# Turned, zoomed, then R: the first picture, pixel for pixel.
drag 1 40 25
xdotool mousemove --window "$window" $cx $cy click 4 click 4
shot_changed moved lowered 1000; shot moved  # once the last move is drawn
keys r
shot_changed restored moved 1000; shot restored  # once the last move is drawn
changed=$(differing "$work/first.png" "$work/restored.png")
[ "${changed%.*}" = 0 ] && pass "R restores the first picture pixel for pixel" ||
    fail "R: $changed pixels differ from the first picture"

# The views of the "Vue" menu by their keys, the numeric pad's included:
# turned, then "Vue de face" is the first picture (angles 0, 0); so is the
# orthographic projection switched on and off.
for pair in "turn 1" "turn KP_1" "5 5"; do
    set -- $pair
    if [ "$1" = turn ]; then drag 1 30 20; else keys "$1"; fi
    shot_changed "away_$2" restored 300; shot "away_$2"
    other=$(differing "$work/restored.png" "$work/away_$2.png")
    keys "$2"
    shot "back_$2"
    changed=$(differing "$work/first.png" "$work/back_$2.png")
    [ "${other%.*}" -gt 300 ] && [ "${changed%.*}" = 0 ] && pass "$pair: the view changes and comes back ($other pixels)" ||
        fail "$pair: $other pixels changed, then $changed differ from the first picture"
done

# A double click on the cube 30 pixels right of and 20 below the middle
# brings that point to the middle; the model's middle moves as much, less a
# tenth (the point clicked was a tenth nearer than the centre).
xdotool mousemove --window "$window" $((cx + 30)) $((cy + 20)) click --repeat 2 --delay 80 1
shot_changed centred restored 500; shot centred  # once the last move is drawn
centred_box=$(model_box "$work/centred.png")
dx=$(($(middle_of "$centred_box" 0) - $(middle_of "$first_box" 0)))
dy=$(($(middle_of "$centred_box" 1) - $(middle_of "$first_box" 1)))
if near "$dx" -27 8 && near "$dy" -18 8; then
    pass "double click centres the point under the cursor (the model moved $dx, $dy)"
else
    fail "double click: $first_box to $centred_box"
fi
# Over the background it does nothing.
xdotool mousemove --window "$window" 40 $((height - 30)) click --repeat 2 --delay 80 1
shot background_click
changed=$(differing "$work/centred.png" "$work/background_click.png")
[ "${changed%.*}" = 0 ] && pass "double click on the background leaves the view" ||
    fail "double click on the background changed $changed pixels"

"$send_close" "$window"
wait_exit
[ "$status" = 0 ] && pass "closed with status 0" || { fail "close: status $status"; tail -n 40 "$work/stderr.txt"; }
[ "$status" = running ] && kill "$pid"

[ "$failures" -eq 0 ] && echo "all navigation checks passed" || echo "$failures navigation check(s) failed"
[ "$failures" -eq 0 ]
