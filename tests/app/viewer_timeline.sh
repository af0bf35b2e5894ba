#!/usr/bin/env bash
# The timeline under the picture: hidden until a set is chosen, then the
# canvas makes room for it; dragging its slider to the end poses the model
# there, and the saved picture is the one pelmora-render draws of that time.
# The keys step from key to key. Run on an X server of its own:
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
AnimTicksPerSecond {
 10;
}
Frame Slider {
 FrameTransformMatrix {
  1,0,0,0,0,1,0,0,0,0,1,0,0,0,0,1;;
 }
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
  AnimationKey {
   2;
   1;
   0;3;0,0,0;;;
  }
 }
}
AnimationSet Slide {
 Animation {
  {Slider}
  AnimationKey {
   2;
   3;
   0;3;-2,0,0;;,
   5;3;0,0,0;;,
   20;3;2,0,0;;;
  }
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
# Pixels that differ between two pictures of the same size (fuzz 4%).
differing() { compare -metric AE -fuzz 4% "$1" "$2" null: 2>&1 | cut -d' ' -f1; }

start_viewer "$work/slide.x" || exit 1
wait_for_frames || exit 1
shot start
top=$(canvas_top "$work/start.png")
before=$(save_image before) || exit 1

# Animation (the last menu) > the set Slide: below the playback items and Still.
menu Left Down Down Down Down Down Down Down Down Down Return
sleep 1
chosen=$(save_image chosen) || exit 1
[ "${chosen#*x}" -lt "${before#*x}" ] && pass "the timeline takes its height from the canvas ($before, then $chosen)" ||
    fail "no room made for the timeline ($before, then $chosen)"
"$render" --size "$chosen" --animation Slide --time 0 "$work/slide.x" "$work/tool-0.png" ||
    fail "pelmora-render at 0 s"
d=$(differing "$work/chosen.png" "$work/tool-0.png")
[ "${d%.*}" -lt 50 ] && pass "the chosen set shows its start as pelmora-render does ($d pixels differ)" ||
    fail "the chosen set at its start differs from pelmora-render ($d pixels)"

# The slider along the window's bottom strip, under the canvas: pressed on
# it, dragged past its right end.
import -window "$window" "$work/timeline.png"
width=$(identify -format '%w' "$work/timeline.png")
height=$(identify -format '%h' "$work/timeline.png")
strip_y=$(((top + ${chosen#*x} + height) / 2))
xdotool mousemove --window "$window" $((width / 3)) "$strip_y" mousedown 1
sleep 0.3
for x in $((width / 2)) $((width * 3 / 4)) $((width - 2)); do
    xdotool mousemove --window "$window" "$x" "$strip_y"
    sleep 0.3
done
xdotool mouseup 1
sleep 0.7
ended_at=$(save_image dragged) || exit 1
"$render" --size "$ended_at" --animation Slide --time 2 "$work/slide.x" "$work/tool-2.png" ||
    fail "pelmora-render at 2 s"
d=$(differing "$work/dragged.png" "$work/tool-2.png")
moved=$(differing "$work/dragged.png" "$work/tool-0.png")
[ "${d%.*}" -lt 50 ] && [ "${moved%.*}" -gt 1000 ] &&
    pass "dragged to the end: pelmora-render's picture at 2 s ($d pixels differ; $moved from the start)" ||
    fail "dragged to the end: $d pixels differ from pelmora-render at 2 s, $moved from the start"

# Left: back to the key at 0.5 s; Shift+Right a tenth later.
keys Left
stepped=$(save_image key) || exit 1
"$render" --size "$stepped" --animation Slide --time 0.5 "$work/slide.x" "$work/tool-0.5.png"
d=$(differing "$work/key.png" "$work/tool-0.5.png")
[ "${d%.*}" -lt 50 ] && pass "Left goes back to the key at 0.5 s ($d pixels differ)" ||
    fail "Left: $d pixels differ from pelmora-render at 0.5 s"
keys shift+Right
stepped=$(save_image tenth) || exit 1
"$render" --size "$stepped" --animation Slide --time 0.6 "$work/slide.x" "$work/tool-0.6.png"
d=$(differing "$work/tenth.png" "$work/tool-0.6.png")
[ "${d%.*}" -lt 50 ] && pass "Shift+Right steps a tenth of a second ($d pixels differ)" ||
    fail "Shift+Right: $d pixels differ from pelmora-render at 0.6 s"
import -window "$window" "$work/with-timeline.png"

"$send_close" "$window"
wait_exit
[ "$status" = 0 ] || fail "close: status $status"

echo "$failures failure(s); pictures in $work"
[ "$failures" -eq 0 ]
