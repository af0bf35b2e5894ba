#!/usr/bin/env bash
# Drives the real viewer on an X server as a person would: starts it on a
# model, looks at the window, uses the menu and the mouse, closes it.
# Run on an X server of its own:
#   own_x_server.sh 1280x1024x24 viewer_end_to_end.sh PELMORA SEND-CLOSE SAMPLES-DIR WORK-DIR CORPUS-DIR
set -uo pipefail

pelmora=$1
send_close=$2
samples=$3
work=$4
corpus=$5
rm -rf "$work" && mkdir -p "$work"
export NO_AT_BRIDGE=1 GDK_BACKEND=x11

source "$(dirname "$0")/viewer_driving.sh"

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

# While a message box is open no frame is drawn, yet the canvas shows the
# last frame again where the box was (Options > Infos, the box moved away).
menu Right Down Return
if wait_for_box "Infos Mesh"; then
    xdotool windowmove --sync "$box" 1000 700 2>/dev/null
    sleep 0.7
    import -window "$window" "$work/behind-box.png"
    text=$(count_white "$work/behind-box.png" 300 80 0 "$top")
    model=$(count_unlike "$work/behind-box.png" "$background" 240 200 200 "$middle_y")
    [ "$text" -gt 300 ] && [ "${model%.*}" -gt 5000 ] && pass "the last frame is shown behind a message box" ||
        fail "behind the box: $text white pixels, $model model pixels"
    xdotool windowfocus --sync "$box" 2>/dev/null
    xdotool key Return
    sleep 0.5
else
    fail "no Infos box"
fi
xdotool windowfocus --sync "$window" 2>/dev/null

# Options > Mode > Wire Polygons
menu Right Down Down Right Down Return
shot_changed wire start 2000
changed=$(count_changed "$work/start.png" "$work/wire.png" 240 200 200 "$middle_y")
wired=$(count_unlike "$work/wire.png" "$background" 240 200 200 "$middle_y")
[ "${changed%.*}" -gt 2000 ] && [ "${wired%.*}" -lt "${model%.*}" ] && [ "${wired%.*}" -gt 100 ] &&
    pass "wire polygons ($wired pixels left of $model)" || fail "wire polygons did not change the picture ($changed changed, $wired left)"

# Options > Bounding Box
menu Right Down Down Down Down Down Down Down Down Down Return
shot_changed box wire 100
changed=$(count_changed "$work/wire.png" "$work/box.png" 600 $((440 - top)) 20 "$((top + 5))")
[ "${changed%.*}" -gt 100 ] && pass "bounding box drawn ($changed pixels changed)" || fail "bounding box did not change the picture"

# Options > Indexed Primitive ARB (off: immediate mode), then Liste GL: the
# same picture along every path.
menu Right Down Down Down Down Down Down Down Down Return
shot immediate
menu Right Down Down Down Down Down Down Return
shot displaylist
for path in immediate displaylist; do
    changed=$(count_changed "$work/box.png" "$work/$path.png" 240 200 200 "$middle_y")
    [ "${changed%.*}" -lt 400 ] && pass "$path path draws the same model ($changed pixels differ)" ||
        fail "$path path draws another picture ($changed pixels differ)"
done

# Back to filled polygons, then a left drag of 90 pixels turns the model.
menu Right Down Down Right Return
shot_changed filled displaylist 2000
cx=320; cy=$((top + 220))
xdotool mousemove --window "$window" $cx $cy mousedown 1
for step in 1 2 3 4 5 6; do xdotool mousemove --window "$window" $((cx + 15 * step)) $cy; sleep 0.05; done
xdotool mouseup 1
shot_changed turned filled 1000
changed=$(count_changed "$work/filled.png" "$work/turned.png" 240 200 200 "$middle_y")
[ "${changed%.*}" -gt 1000 ] && pass "left drag turns the model ($changed pixels changed)" || fail "left drag did nothing"

# The wheel: a turn towards the screen brings the model nearer.
before=$(count_unlike "$work/turned.png" "$background" 600 $((440 - top)) 20 "$((top + 5))")
xdotool mousemove --window "$window" $cx $cy click 4 click 4 click 4
shot_changed wheeled turned 1000
after=$(count_unlike "$work/wheeled.png" "$background" 600 $((440 - top)) 20 "$((top + 5))")
[ "${after%.*}" -gt $((${before%.*} + 1000)) ] && pass "the wheel zooms in ($before to $after model pixels)" ||
    fail "the wheel did not zoom in ($before to $after)"

# F5 reloads the file: the camera, the turn and the switches stay.
keys F5
shot reloaded
changed=$(count_changed "$work/wheeled.png" "$work/reloaded.png" 600 $((440 - top)) 20 "$((top + 5))")
[ "${changed%.*}" -lt 400 ] && pass "F5 reloads with the same view ($changed pixels differ)" ||
    fail "F5 changed the view ($changed pixels differ)"

# F fits the view, as "Cadrer le modèle" does: the model fills most of the canvas height.
keys f
shot_changed fitted reloaded 1000
height=$(convert "$work/fitted.png" -crop "600x$((440 - top))+20+$((top + 5))" +repage -fuzz 4% -fill black \
         -opaque "$background" -fuzz 0 -fill white +opaque black -trim -format '%h' info: 2>/dev/null)
canvas_height=$(($(identify -format '%h' "$work/fitted.png") - top))
[ "${height:-0}" -gt $((canvas_height * 3 / 4)) ] && pass "F fits the model ($height of $canvas_height rows)" ||
    fail "F did not fit the model (${height:-0} of $canvas_height rows)"

# Fichier > Enregistrer l'image…: a PNG of the canvas, named without its extension.
menu Down Down Down Down Return
if wait_for_box "Enregistrer l'image..."; then
    xdotool windowfocus --sync "$box" 2>/dev/null
    sleep 0.5
    xdotool key ctrl+a
    xdotool type --delay 20 "$work/scene"
    sleep 0.7  # the name's completion settles
    xdotool key Return
    for _ in $(seq 1 40); do [ -s "$work/scene.png" ] && break; sleep 0.25; done
    import -window root "$work/after-save.png"
    size=$(identify -format '%wx%h' "$work/scene.png" 2>/dev/null)
    canvas="$(identify -format '%w' "$work/fitted.png")x$canvas_height"
    [ "$size" = "$canvas" ] && pass "the saved image has the canvas's size ($size)" ||
        fail "saved image '$size', canvas $canvas"
    # Without the overlay: its corner is the background.
    corner=$(count_unlike "$work/scene.png" "$background" 100 40 0 0)
    [ "${corner%.*}" -lt 20 ] && pass "the saved image has no overlay" || fail "overlay in the saved image ($corner)"
else
    fail "no dialog for Enregistrer l'image…"
fi

# Ctrl+E opens the glTF export's save dialog; cancelled, it writes nothing.
xdotool windowfocus --sync "$window" 2>/dev/null
keys ctrl+e
if wait_for_box "Exporter en glTF..."; then
    xdotool windowfocus --sync "$box" 2>/dev/null
    sleep 0.5
    xdotool key Escape
    for _ in $(seq 1 40); do [ -z "$(xdotool search --all --onlyvisible --pid "$pid" --name '^Exporter en glTF...$' 2>/dev/null)" ] && break; sleep 0.25; done
    [ -z "$(ls "$work"/*.glb "$work"/*.gltf 2>/dev/null)" ] && pass "Ctrl+E asks where to export; cancelled, nothing written" ||
        fail "a cancelled export wrote $(ls "$work"/*.gl* 2>/dev/null)"
else
    fail "no dialog for Ctrl+E (Exporter en glTF…)"
fi

# Ctrl+Q quits.
xdotool windowfocus --sync "$window" 2>/dev/null
keys ctrl+q
wait_exit
# On a failure, what the viewer said (a sanitizer's report, say) before the next start replaces it.
[ "$status" = 0 ] && pass "Ctrl+Q ends with status 0" || { fail "Ctrl+Q: status $status"; tail -n 40 "$work/stderr.txt"; }
[ "$status" = running ] && kill "$pid"

# --- A wrong command line: its message, status 2, no window --------------
"$pelmora" "$samples/cube.x" --bogus >"$work/bogus.out" 2>"$work/bogus.err" </dev/null &
pid=$!
wait_exit
[ "$status" = 2 ] && grep -q "pelmora: " "$work/bogus.err" && pass "an unknown option ends with status 2" ||
    fail "unknown option: status $status, said: $(head -1 "$work/bogus.err")"

# --- A missing file: told, then the viewer runs on with nothing to draw --
start_viewer "$work/no such model.x" || exit 1
dismiss_error_boxes
[ "$boxes" -ge 1 ] && pass "the failed load of a missing file is told" || fail "no message box for the missing file"
wait_for_frames
shot missing
top=$(canvas_top "$work/missing.png")
kill -0 "$pid" 2>/dev/null && pass "still running on a missing file" || fail "the viewer ended on a missing file"
model=$(count_unlike "$work/missing.png" "$background" 240 200 200 $((top + 120)))
[ "${model%.*}" -lt 10 ] && pass "nothing drawn for the missing file" || fail "something drawn ($model pixels)"
text=$(count_white "$work/missing.png" 200 14 0 "$top")
[ "$text" -gt 20 ] && pass "the frame-rate line alone ($text white pixels)" || fail "no overlay ($text)"
# The close box.
"$send_close" "$window"
wait_exit
[ "$status" = 0 ] && pass "close box ends with status 0" || fail "close box: status $status"
[ "$status" = running ] && kill "$pid"

# --- A file the loader refuses: its message box, then the viewer runs on --
printf 'this is not a model\n' >"$work/refused.x"
start_viewer "$work/refused.x" || exit 1
dismiss_error_boxes
[ "$boxes" -ge 2 ] && pass "the loader's message and the failed load are told ($boxes boxes)" ||
    fail "$boxes message boxes for a refused file"
wait_for_frames && pass "frames drawn once the boxes are dismissed"
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
# Fichier > Quit
menu Down Down Down Down Down Down Return
wait_exit
[ "$status" = 0 ] && pass "Fichier > Quit ends with status 0" || fail "Fichier > Quit: status $status"
[ "$status" = running ] && kill "$pid"

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
