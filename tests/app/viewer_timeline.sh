#!/usr/bin/env bash
# The timeline's slider dragged to its end: the saved picture is pelmora-render's at that time.
# Run on an X server of its own:
#   own_x_server.sh 1280x1024x24 viewer_timeline.sh PELMORA SEND-CLOSE PELMORA-RENDER WORK-DIR
set -uo pipefail
pelmora=$1 send_close=$2 render=$3 work=$4
rm -rf "$work" && mkdir -p "$work"
export NO_AT_BRIDGE=1 GDK_BACKEND=x11
source "$(dirname "$0")/viewer_driving.sh"
# A two-sided triangle that the set Slide takes from x = -2 to 2 in 2 s; Still, marked from the
# start, is there so that choosing Slide is a change. The viewer's first camera is pelmora-render's.
cat >"$work/slide.x" <<'MODEL'
xof 0303txt 0032
AnimTicksPerSecond { 10; }
Frame Slider {
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
# "Enregistrer l'image…" to NAME.png; prints its size.
save_image() {  # name
    xdotool windowfocus --sync "$window" 2>/dev/null
    menu Down Down Down Down Return
    wait_for_box "Enregistrer l'image..." || { fail "no dialog for Enregistrer l'image…"; return 1; }
    xdotool windowfocus --sync "$box" 2>/dev/null; sleep 0.5
    xdotool key ctrl+a; xdotool type --delay 20 "$work/$1"
    sleep 0.7; xdotool key Return  # once the name's completion settles
    for _ in $(seq 1 40); do [ -s "$work/$1.png" ] && break; sleep 0.25; done
    sleep 0.3; xdotool windowfocus --sync "$window" 2>/dev/null
    identify -format '%wx%h' "$work/$1.png" 2>/dev/null
}
open_viewer start "$work/slide.x" || exit 1
IFS=x read -r width height < <(identify -format '%wx%h' "$work/start.png")
# Animation (the last menu) > Slide, below the playback items and Still.
menu Left Down Down Down Down Down Down Down Down Down Return; sleep 1
chosen=$(save_image chosen) || exit 1
# The slider in the strip under the canvas: pressed, then dragged past its right end.
strip_y=$(((top + ${chosen#*x} + height) / 2))
xdotool mousemove --window "$window" $((width / 3)) "$strip_y" mousedown 1
for x in $((width / 2)) $((width * 3 / 4)) $((width - 2)); do sleep 0.3; xdotool mousemove --window "$window" "$x" "$strip_y"; done
sleep 0.3; xdotool mouseup 1; sleep 0.7
size=$(save_image dragged) || exit 1
"$render" --size "$size" --animation Slide --time 2 "$work/slide.x" "$work/tool.png" || fail "pelmora-render"
d=$(differing "$work/dragged.png" "$work/tool.png") moved=$(differing "$work/dragged.png" "$work/chosen.png")
check "d < 50 && moved > 1000" "dragged to the end: pelmora-render's picture at 2 s ($d pixels differ; $moved from the start)"
close_and_report
