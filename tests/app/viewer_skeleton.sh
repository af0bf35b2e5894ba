#!/usr/bin/env bash
# The skeleton switch in the real viewer: K draws a skinned model's bones
# over it, and K again takes them away.
# Run on an X server of its own:
#   own_x_server.sh 1280x1024x24 viewer_skeleton.sh PELMORA SEND-CLOSE WORK-DIR CORPUS-DIR
set -uo pipefail

pelmora=$1
send_close=$2
work=$3
corpus=$4
rm -rf "$work" && mkdir -p "$work"
export NO_AT_BRIDGE=1 GDK_BACKEND=x11

source "$(dirname "$0")/viewer_driving.sh"

# Pixels of the canvas in the skeleton's yellow.
yellow_pixels() {  # picture
    local unlike area=$((600 * 380))
    unlike=$(count_unlike "$1" "rgb(255,255,0)" 600 380 20 "$((top + 20))")
    echo $((area - ${unlike%.*}))
}

start_viewer --as-authored --fit "$corpus/assimp/BCN_Epileptic.X" || exit 1
wait_for_frames || exit 1
shot unboned
top=$(canvas_top "$work/unboned.png")
model=$(count_unlike "$work/unboned.png" "$background" 300 300 170 "$((top + 80))")
[ "${model%.*}" -gt 2000 ] && pass "the model is drawn ($model pixels)" || fail "no model drawn ($model)"
before=$(yellow_pixels "$work/unboned.png")
keys k
shot_changed bones unboned 50
after=$(yellow_pixels "$work/bones.png")
[ "$after" -gt $((before + 100)) ] && pass "K draws the bones ($before then $after yellow pixels)" ||
    fail "K drew no bones ($before then $after yellow pixels)"
keys k
shot_changed hidden bones 50
again=$(yellow_pixels "$work/hidden.png")
[ "$again" -le $((before + 20)) ] && pass "K again hides them ($again yellow pixels)" ||
    fail "bones still shown after the second K ($again yellow pixels)"
"$send_close" "$window"
wait_exit
[ "$status" = 0 ] || fail "close: status $status"

echo "$failures failure(s); pictures in $work"
[ "$failures" -eq 0 ]
