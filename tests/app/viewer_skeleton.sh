#!/usr/bin/env bash
# K draws a skinned model's bones over it. Run on an X server of its own:
#   own_x_server.sh 1280x1024x24 viewer_skeleton.sh PELMORA SEND-CLOSE WORK-DIR CORPUS-DIR
set -uo pipefail
pelmora=$1 send_close=$2 work=$3 corpus=$4
rm -rf "$work" && mkdir -p "$work"
export NO_AT_BRIDGE=1 GDK_BACKEND=x11
source "$(dirname "$0")/viewer_driving.sh"
yellow() { count_like "$work/$1.png" "rgb(255,255,0)" 600 380 20 $((top + 20)) 4%; }
open_viewer unboned --as-authored --fit "$corpus/assimp/BCN_Epileptic.X" || exit 1
model=$(count_unlike "$work/unboned.png" "$background" 300 300 170 $((top + 80))) && model=${model%.*}
keys k
shot_changed bones unboned 50
before=$(yellow unboned) after=$(yellow bones)
check "model > 2000 && after > before + 100" "K draws the bones over the model ($model pixels; $before then $after yellow pixels)"
close_and_report
