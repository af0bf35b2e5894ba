#!/usr/bin/env bash
# Drives the real viewer on an X server as a person would: starts it on a
# model, looks at the window, uses the menu and the mouse, closes it.
# Run under xvfb-run:  viewer_end_to_end.sh PELMORA SEND-CLOSE SAMPLES-DIR WORK-DIR CORPUS-DIR
set -uo pipefail

pelmora=$1
send_close=$2
samples=$3
work=$4
corpus=$5
rm -rf "$work" && mkdir -p "$work"
export NO_AT_BRIDGE=1 GDK_BACKEND=x11

failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
pass() { echo "ok: $*"; }

background="rgb(102,102,102)"  # the clear colour, 0.4 grey

# Pixels of a region of a picture that differ from one colour (fuzz 4%).
count_unlike() {  # picture colour width height x y
    local region="$3x$4+$5+$6"
    convert -size "$3x$4" "xc:$2" "$work/plain.png"
    convert "$1" -crop "$region" +repage "$work/region.png"
    compare -metric AE -fuzz 4% "$work/region.png" "$work/plain.png" null: 2>&1 | cut -d' ' -f1
}
count_white() {  # picture width height x y
    local unlike
    unlike=$(count_unlike "$1" white "$2" "$3" "$4" "$5")
    echo $(($2 * $3 - ${unlike%.*}))
}
count_changed() {  # picture picture width height x y
    convert "$1" -crop "$3x$4+$5+$6" +repage "$work/a.png"
    convert "$2" -crop "$3x$4+$5+$6" +repage "$work/b.png"
    compare -metric AE -fuzz 4% "$work/a.png" "$work/b.png" null: 2>&1 | cut -d' ' -f1
}
# The first row of the canvas: the menu bar stands above it.
canvas_top() {
    local y
    for y in $(seq 0 80); do
        if [ "$(convert "$1" -format "%[pixel:p{620,$y}]" info:)" = "srgb(102,102,102)" ] ||
           [ "$(convert "$1" -format "%[pixel:p{620,$y}]" info:)" = "gray(102)" ]; then
            echo "$y"; return
        fi
    done
    echo 0
}

window=""
pid=""
started=()
# Whatever this script started and is still running goes at the end.
trap 'for p in "${started[@]}"; do kill "$p" 2>/dev/null; done' EXIT
start_viewer() {  # arguments for pelmora
    "$pelmora" "$@" >"$work/stdout.txt" 2>"$work/stderr.txt" &
    pid=$!
    started+=("$pid")
    window=""
    for _ in $(seq 1 300); do
        window=$(xdotool search --all --onlyvisible --pid "$pid" --name '^Pelmora$' 2>/dev/null | head -1)
        [ -n "$window" ] && break
        sleep 0.1
    done
    if [ -z "$window" ]; then
        fail "no window for pelmora $* (process: $(ps -o stat= -p "$pid"))"
        cat "$work/stderr.txt"
        return 1
    fi
    xdotool windowfocus --sync "$window" 2>/dev/null
    return 0
}
# Waits until frames with the overlay are drawn: the frame-rate line comes
# after 85 frames.
wait_for_frames() {
    local top
    for _ in $(seq 1 60); do
        import -window "$window" "$work/waiting.png"
        top=$(canvas_top "$work/waiting.png")
        [ "$top" -gt 0 ] && [ "$(count_white "$work/waiting.png" 100 14 0 "$top")" -gt 30 ] && return 0
        sleep 0.25
    done
    fail "no frames drawn"
    return 1
}
shot() { sleep 0.7; import -window "$window" "$work/$1.png"; }
# Takes pictures until the model region differs from an earlier picture by
# more than a number of pixels (or 10 s have passed).
shot_changed() {  # name earlier-name pixels
    local changed
    for _ in $(seq 1 20); do
        sleep 0.5
        import -window "$window" "$work/$1.png"
        changed=$(count_changed "$work/$2.png" "$work/$1.png" 600 $((440 - top)) 20 "$((top + 5))")
        [ "${changed%.*}" -gt "$3" ] && return 0
    done
    return 0
}
keys() { xdotool key --delay 200 "$@"; }
# Waits up to 15 s for the viewer to end; `status` becomes its exit status,
# or "running". (No subshell: only this shell can wait for its children.)
wait_exit() {
    status=running
    local zombie
    for _ in $(seq 1 150); do
        zombie=$(ps -o stat= -p "$pid" 2>/dev/null)
        if [ -z "$zombie" ] || [ "${zombie:0:1}" = Z ]; then
            wait "$pid"
            status=$?
            return
        fi
        sleep 0.1
    done
}

# --- A model named on the command line ---------------------------------
start_viewer "$samples/cube.x" || exit 1
wait_for_frames || exit 1
shot start
top=$(canvas_top "$work/start.png")
[ "$top" -gt 0 ] && pass "menu bar above the canvas ($top pixels)" || fail "no menu bar found"
# The cube sits in the middle of the canvas; the overlay in its top-left corner.
middle_y=$((top + 120))
model=$(count_unlike "$work/start.png" "$background" 240 200 200 "$middle_y")
[ "${model%.*}" -gt 5000 ] && pass "model drawn ($model pixels)" || fail "no model in the middle ($model pixels)"
text=$(count_white "$work/start.png" 300 80 0 "$top")
[ "$text" -gt 300 ] && pass "overlay text drawn ($text white pixels)" || fail "no overlay text ($text white pixels)"
# Five lines: white pixels down to the "Materials" line, 60 pixels below the first.
last_line=$(count_white "$work/start.png" 200 12 0 $((top + 60)))
[ "$last_line" -gt 20 ] && pass "five overlay lines" || fail "the last overlay line is missing"

# Options > Mode > Wire Polygons
keys F10 Right Down Down Right Down Return
shot_changed wire start 2000
changed=$(count_changed "$work/start.png" "$work/wire.png" 240 200 200 "$middle_y")
wired=$(count_unlike "$work/wire.png" "$background" 240 200 200 "$middle_y")
[ "${changed%.*}" -gt 2000 ] && [ "${wired%.*}" -lt "${model%.*}" ] && [ "${wired%.*}" -gt 100 ] &&
    pass "wire polygons ($wired pixels left of $model)" || fail "wire polygons did not change the picture ($changed changed, $wired left)"

# Options > Bounding Box
keys F10 Right Down Down Down Down Down Down Down Down Down Return
shot_changed box wire 100
changed=$(count_changed "$work/wire.png" "$work/box.png" 600 $((440 - top)) 20 "$((top + 5))")
[ "${changed%.*}" -gt 100 ] && pass "bounding box drawn ($changed pixels changed)" || fail "bounding box did not change the picture"

# Options > Indexed Primitive ARB (off: immediate mode), then Liste GL: the
# same picture along every path.
keys F10 Right Down Down Down Down Down Down Down Down Return
shot immediate
keys F10 Right Down Down Down Down Down Down Return
shot displaylist
for path in immediate displaylist; do
    changed=$(count_changed "$work/box.png" "$work/$path.png" 240 200 200 "$middle_y")
    [ "${changed%.*}" -lt 400 ] && pass "$path path draws the same model ($changed pixels differ)" ||
        fail "$path path draws another picture ($changed pixels differ)"
done

# Back to filled polygons, then a left drag of 90 pixels turns the model.
keys F10 Right Down Down Right Return
shot_changed filled displaylist 2000
cx=320; cy=$((top + 220))
xdotool mousemove --window "$window" $cx $cy mousedown 1
for step in 1 2 3 4 5 6; do xdotool mousemove --window "$window" $((cx + 15 * step)) $cy; sleep 0.05; done
xdotool mouseup 1
shot_changed turned filled 1000
changed=$(count_changed "$work/filled.png" "$work/turned.png" 240 200 200 "$middle_y")
[ "${changed%.*}" -gt 1000 ] && pass "left drag turns the model ($changed pixels changed)" || fail "left drag did nothing"

# Fichier > Quit
keys F10 Down Down Down Return
wait_exit
[ "$status" = 0 ] && pass "Quit ends with status 0" || fail "Quit: status $status"
[ "$status" = running ] && kill "$pid"

# --- A missing file: the viewer keeps running, with nothing to draw -----
start_viewer "$work/no such model.x" || exit 1
wait_for_frames
shot missing
top=$(canvas_top "$work/missing.png")
kill -0 "$pid" 2>/dev/null && pass "still running on a missing file" || fail "the viewer ended on a missing file"
others=$(xdotool search --all --onlyvisible --pid "$pid" --name '.' 2>/dev/null | grep -vc "^$window\$")
[ "$others" -eq 0 ] && pass "no message box for the missing file" || fail "$others other windows opened"
model=$(count_unlike "$work/missing.png" "$background" 240 200 200 $((top + 120)))
[ "${model%.*}" -lt 10 ] && pass "nothing drawn for the missing file" || fail "something drawn ($model pixels)"
text=$(count_white "$work/missing.png" 300 80 0 "$top")
[ "$text" -gt 100 ] && pass "overlay lines with zero counts ($text white pixels)" || fail "no overlay ($text)"
# The close box.
"$send_close" "$window"
wait_exit
[ "$status" = 0 ] && pass "close box ends with status 0" || fail "close box: status $status"
[ "$status" = running ] && kill "$pid"

# --- A file the loader refuses: its message box, then the viewer runs on --
printf 'this is not a model\n' >"$work/refused.x"
start_viewer "$work/refused.x" || exit 1
box=""
for _ in $(seq 1 60); do
    box=$(xdotool search --all --onlyvisible --pid "$pid" --name '^Erreur$' 2>/dev/null | head -1)
    [ -n "$box" ] && break
    sleep 0.25
done
if [ -n "$box" ]; then
    pass "the loader's message box is shown"
    xdotool windowfocus --sync "$box" 2>/dev/null
    xdotool key Return
else
    fail "no message box for a refused file"
fi
wait_for_frames && pass "frames drawn once the box is dismissed"
"$send_close" "$window"
wait_exit
[ "$status" = 0 ] && pass "closed with status 0 after a refused file" || fail "close after a refused file: status $status"

# --- A path with a blank, given unquoted: the arguments are joined back --
mkdir -p "$work/my models"
cp "$samples/cube.x" "$work/my models/"
cp "$samples"/*.ppm "$work/my models/" 2>/dev/null
start_viewer $work/my\ models/cube.x || exit 1
wait_for_frames
shot blank
top=$(canvas_top "$work/blank.png")
model=$(count_unlike "$work/blank.png" "$background" 240 200 200 $((top + 120)))
[ "${model%.*}" -gt 5000 ] && pass "path with a blank loaded" || fail "path with a blank not loaded ($model)"
"$send_close" "$window"
wait_exit
[ "$status" = 0 ] || fail "close after the blank path: status $status"

# --- An animated model: Space plays and pauses, the time runs by the clock -
start_viewer --fit "$corpus/assimp/BCN_Epileptic.X" || exit 1
wait_for_frames
shot still
top=$(canvas_top "$work/still.png")
# Pixels of the model that change over half a second.
motion() {  # name
    shot "$1-a"
    sleep 0.5
    shot "$1-b"
    count_changed "$work/$1-a.png" "$work/$1-b.png" 400 $((440 - top)) 120 "$((top + 80))"
}
keys space
moved=$(motion playing)
[ "${moved%.*}" -gt 500 ] && pass "Space plays the animation ($moved pixels moved)" || fail "Space did not play ($moved)"
# The overlay's sixth line names the set while it is chosen.
line=$(count_white "$work/playing-b.png" 200 12 0 $((top + 75)))
[ "$line" -gt 20 ] && pass "the animation line is shown" || fail "no animation line"
keys space
moved=$(motion paused)
[ "${moved%.*}" -lt 50 ] && pass "Space again pauses it" || fail "still moving after the second Space ($moved)"
"$send_close" "$window"
wait_exit
[ "$status" = 0 ] || fail "close after the animation: status $status"

echo "$failures failure(s); pictures in $work"
[ "$failures" -eq 0 ]
