# What the viewer's window tests share: starting the viewer and finding its
# window, looking at its pictures, the keyboard and the menu, waiting for its
# end. Sourced by a script that sets `pelmora` (the program) and, to start
# the viewer or take pictures, `work` (a folder for them and its output).

window_wait=${window_wait:-30}  # seconds a window may take to appear
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
# The first row of the canvas: the menu bar stands above it. One column of
# the picture is read at once.
canvas_top() {
    convert "$1" -crop 1x81+620+0 +repage -depth 8 txt:- 2>/dev/null |
        awk -F'[,:]' 'NR > 1 && /\(102,102,102\)|\(102\)/ { print $2; found = 1; exit } END { if (!found) print 0 }'
}

# True once the process PID has ended (gone, or a zombie its parent has
# not waited for).
ended() {
    local state
    state=$(ps -o stat= -p "$1" 2>/dev/null)
    [ -z "$state" ] || [ "${state:0:1}" = Z ]
}

window=""
pid=""
started=()
# Whatever this script started and is still running goes at the end.
trap 'for p in "${started[@]}"; do kill "$p" 2>/dev/null; done' EXIT
start_viewer() {  # arguments for pelmora
    for _ in $(seq 1 50); do
        xdotool getdisplaygeometry >/dev/null 2>&1 && break
        sleep 0.1
    done
    "$pelmora" "$@" >"$work/stdout.txt" 2>"$work/stderr.txt" &
    pid=$!
    started+=("$pid")
    window=""
    for _ in $(seq 1 $((window_wait * 10))); do
        window=$(xdotool search --all --onlyvisible --pid "$pid" --name '^Pelmora$' 2>/dev/null | head -1)
        [ -n "$window" ] && break
        if ended "$pid"; then
            wait "$pid"
            fail "pelmora $* ended with status $? before its window appeared"
            cat "$work/stderr.txt"
            return 1
        fi
        sleep 0.1
    done
    if [ -z "$window" ]; then
        fail "no window for pelmora $* within $window_wait s (process: $(ps -o stat= -p "$pid"))"
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
visible_windows() { xdotool search --all --onlyvisible --pid "$pid" 2>/dev/null | wc -l; }
# Opens the menu bar with F10, waits until its menu is on screen, then sends
# the keys that choose an item. A menu takes the keyboard only once it is up:
# keys sent before that, on a busy machine, would go to the window instead.
menu() {  # keys after F10
    local before
    before=$(visible_windows)
    xdotool key F10
    for _ in $(seq 1 100); do
        [ "$(visible_windows)" -gt "$before" ] && break
        sleep 0.1
    done
    sleep 0.2
    keys "$@"
}
# Waits up to 15 s for a window of the viewer named NAME; `box` becomes it.
wait_for_box() {  # name
    box=""
    for _ in $(seq 1 60); do
        box=$(xdotool search --all --onlyvisible --pid "$pid" --name "^$1\$" 2>/dev/null | head -1)
        [ -n "$box" ] && return 0
        sleep 0.25
    done
    return 1
}
# Dismisses every "Erreur" box the viewer shows, one after another; `boxes`
# becomes their number.
dismiss_error_boxes() {
    boxes=0
    while wait_for_box Erreur; do
        boxes=$((boxes + 1))
        xdotool windowfocus --sync "$box" 2>/dev/null
        xdotool key Return
        sleep 0.5
        [ "$boxes" -ge 5 ] && break
    done
}
# Waits up to 15 s for the viewer to end; `status` becomes its exit status,
# or "running". (No subshell: only this shell can wait for its children.)
wait_exit() {
    status=running
    for _ in $(seq 1 150); do
        if ended "$pid"; then
            wait "$pid"
            status=$?
            return
        fi
        sleep 0.1
    done
}

# Starts the viewer and takes the picture NAME; `top` becomes its canvas's first row.
open_viewer() {  # name arguments-for-pelmora...
    local name=$1; shift
    start_viewer "$@" && wait_for_frames || return 1
    shot "$name"; top=$(canvas_top "$work/$name.png")
}
# Pixels near one colour in a region (fuzz 30% by default: the lit shades).
count_like() {  # picture colour width height x y [fuzz]
    convert "$1" -crop "$3x$4+$5+$6" +repage -fuzz "${7:-30%}" -fill black +opaque "$2" -fill white -opaque "$2" \
        -format "%[fx:int(mean*w*h+0.5)]" info:
}
# Pixels that differ between two pictures, or the same REGION (WxH+X+Y) of both; fuzz 4% unless given.
differing() {  # picture picture [fuzz [region]]
    if [ -n "${4:-}" ]; then
        convert "$1" -crop "$4" +repage "$work/a.png"; convert "$2" -crop "$4" +repage "$work/b.png"
        set -- "$work/a.png" "$work/b.png" "$3"
    fi
    compare -metric AE -fuzz "${3:-4%}" "$1" "$2" null: 2>&1 | cut -d' ' -f1 | cut -d. -f1
}
# One check: an arithmetic CONDITION whose figures must all be whole numbers (not an error message).
check() {  # condition description
    local f
    for f in $(grep -oE '[A-Za-z_][A-Za-z_0-9]*' <<<"$1"); do
        [[ ${!f-} =~ ^-?[0-9]+$ ]] || { fail "$2 ($f: '${!f-}')"; return; }
    done
    if (($1)); then pass "$2"; else fail "$2 [$1]"; fi
}
# Closes the viewer (as the window manager does, or with KEYS); true when all checks passed.
close_and_report() {  # [keys]
    if [ $# -gt 0 ]; then keys "$@"; else "$send_close" "$window"; fi
    wait_exit
    [ "$status" = 0 ] || { fail "close: status $status"; tail -n 20 "$work/stderr.txt"; }
    echo "$failures failure(s); pictures in $work"; [ "$failures" -eq 0 ]
}
