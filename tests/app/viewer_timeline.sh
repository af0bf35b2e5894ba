#!/usr/bin/env bash
# The timeline under the picture: a set chosen, the slider dragged to its
# end, then the keys stepping back; each saved picture is the one
# pelmora-render draws of that time. Run on an X server of its own:
#   own_x_server.sh 1280x1024x24 viewer_timeline.sh PELMORA SEND-CLOSE PELMORA-RENDER WORK-DIR
set -uo pipefail

pelmora=$1
send_close=$2
render=$3
work=$4
rm -rf "$work" && mkdir -p "$work"
export NO_AT_BRIDGE=1 GDK_BACKEND=x11

source "$(dirname "$0")/viewer_driving.sh"

# A triangle, seen from both sides, slid along x by the second set: keys at
# 0, 0.5 and 2 seconds (10 ticks a second), at x = -2, 0 and 2. (The first
# set's item is marked before it is chosen, and choosing a marked radio item
# tells nothing: the second set is the one chosen.) The camera stays where
# the viewer starts it, which is pelmora-render's default camera.
cat >"$work/slide.x" <<'MODEL'
xof 0303txt 0032
AnimTicksPerSecond { 10; }
Frame Slider {
 FrameTransformMatrix { 1,0,0,0,0,1,0,0,0,0,1,0,0,0,0,1;; }
 Mesh {
  3;
  -1;-1;0;,
  1;-1;0;,
  0;1;0;;
  2;
  3;0,1,2;,
  3;0,2,1;;
 }
}
AnimationSet Still {
 Animation {
  {Slider}
  AnimationKey { 2; 1; 0;3;0,0,0;;; }
 }
}
AnimationSet Slide {
 Animation {
  {Slider}
  AnimationKey { 2; 3; 0;3;-2,0,0;;, 5;3;0,0,0;;, 20;3;2,0,0;;; }
 }
}
MODEL

# The size of the canvas as "Enregistrer l'image…" writes it to NAME.png.
save_image() {  # name
    xdotool windowfocus --sync "$window" 2>/dev/null
    menu Down Down Down Down Return
    if ! wait_for_box "Enregistrer l'image..."; then
        fail "no dialog for Enregistrer l'image…"
        return 1
    fi
    xdotool windowfocus --sync "$box" 2>/dev/null
    sleep 0.5
    xdotool key ctrl+a
    xdotool type --delay 20 "$work/$1"
    sleep 0.7  # the name's completion settles
    xdotool key Return
    for _ in $(seq 1 40); do [ -s "$work/$1.png" ] && break; sleep 0.25; done
    sleep 0.3
    xdotool windowfocus --sync "$window" 2>/dev/null
    identify -format '%wx%h' "$work/$1.png" 2>/dev/null
}
# Pixels that differ between the saved picture NAME and pelmora-render's of
# the set Slide at SECONDS, drawn at the same size.
unlike_tool() {  # name seconds
    "$render" --size "$(identify -format '%wx%h' "$work/$1.png")" --animation Slide --time "$2" \
        "$work/slide.x" "$work/tool-$2.png" || fail "pelmora-render at $2 s"
    differing "$work/$1.png" "$work/tool-$2.png"
}

open_viewer start "$work/slide.x" || exit 1
width=$(identify -format '%w' "$work/start.png")
height=$(identify -format '%h' "$work/start.png")
# Animation (the last menu) > the set Slide: below the playback items and
# Still. Left and Down move in the open menu: they are no shortcuts then.
menu Left Down Down Down Down Down Down Down Down Down Return
sleep 1
chosen=$(save_image chosen) || exit 1

# The slider along the window's bottom strip, under the canvas (which made
# room for it): pressed on it, dragged past its right end.
strip_y=$(((top + ${chosen#*x} + height) / 2))
xdotool mousemove --window "$window" $((width / 3)) "$strip_y" mousedown 1
sleep 0.3
for x in $((width / 2)) $((width * 3 / 4)) $((width - 2)); do
    xdotool mousemove --window "$window" "$x" "$strip_y"
    sleep 0.3
done
xdotool mouseup 1
sleep 0.7
save_image dragged >/dev/null || exit 1
d=$(unlike_tool dragged 2)
moved=$(differing "$work/dragged.png" "$work/chosen.png")
check "d < 50 && moved > 1000" "dragged to the end: pelmora-render's picture at 2 s ($d pixels differ; $moved from the start)"

# Left goes back to the key at 0.5 s, Shift+Right a tenth further.
keys Left shift+Right
save_image stepped >/dev/null || exit 1
d=$(unlike_tool stepped 0.6)
check "d < 50" "Left then Shift+Right: pelmora-render's picture at 0.6 s ($d pixels differ)"
import -window "$window" "$work/with-timeline.png"

close_and_report
