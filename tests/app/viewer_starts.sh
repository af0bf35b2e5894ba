#!/usr/bin/env bash
# Starts the viewer on a model COUNT times, with every core kept busy, as a
# user would on a loaded desktop. Each time its window must appear within
# 10 s, draw the model, stay until it is closed, and end with status 0 once
# its close box is used.
#   viewer_starts.sh PELMORA SEND-CLOSE MODEL WORK-DIR COUNT
# Run under own_x_server.sh (openbox) or own_weston.sh (weston, XWayland).
# GDK_BACKEND is left as the session has it: the viewer makes its own choice.
set -uo pipefail

pelmora=$1
send_close=$2
model_file=$3
work=$4
count=$5
rm -rf "$work" && mkdir -p "$work"
export NO_AT_BRIDGE=1
window_wait=10

source "$(dirname "$0")/viewer_driving.sh"

for _ in $(seq 1 "$(nproc)"); do
    (while :; do :; done) &
    started+=("$!")
done

for run in $(seq 1 "$count"); do
    start_viewer "$model_file" || continue
    if ! wait_for_frames; then
        tail -n 20 "$work/stderr.txt"
        kill "$pid" 2>/dev/null
        continue
    fi
    shot "start-$run"
    top=$(canvas_top "$work/start-$run.png")
    drawn=$(count_unlike "$work/start-$run.png" "$background" 240 200 200 $((top + 120)))
    [ "${drawn%.*}" -gt 5000 ] || fail "start $run: no model drawn ($drawn pixels)"
    sleep 2
    kill -0 "$pid" 2>/dev/null || { fail "start $run: the viewer ended before it was closed"; wait_exit; continue; }
    "$send_close" "$window"
    wait_exit
    [ "$status" = 0 ] || fail "start $run: status $status after the close box"
    [ "$status" = running ] && kill "$pid"
done

echo "$failures failure(s) in $count starts; pictures in $work"
[ "$failures" -eq 0 ]
