#!/usr/bin/env bash
# Installs the build into a folder of its own and looks at what is there as
# a desktop would; then makes the Debian package, unpacks it and runs its
# programs from there.
#   check_install.sh BUILD-DIR SAMPLES-DIR
set -uo pipefail
# What is checked here is where the programs' files lie and that they run from
# there; their leaks are for the build tree's tests, which run the same code.
# In the sanitizer build the packaged (stripped) pelmora-render, drawing the
# sample, has crashed LeakSanitizer's own tracer at its end on the CI machine,
# every run, though never on our own machines; so the leak check stays off in this script.
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0"
build=$1
samples=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
pass() { echo "ok: $*"; }

# --- cmake --install into a prefix of our own ---------------------------
prefix=$work/prefix
cmake --install "$build" --prefix "$prefix" >/dev/null || fail "cmake --install"
for file in bin/pelmora bin/pelmora-render bin/pelmora-report bin/pelmora-convert \
            share/applications/pelmora.desktop share/mime/packages/pelmora.xml \
            share/icons/hicolor/scalable/apps/pelmora.svg \
            share/icons/hicolor/{16x16,24x24,32x32,48x48,64x64,128x128,256x256}/apps/pelmora.png \
            share/man/man1/{pelmora,pelmora-render,pelmora-report,pelmora-convert}.1 \
            share/thumbnailers/pelmora.thumbnailer; do
    [ -e "$prefix/$file" ] || fail "missing $file"
done
[ "$failures" -eq 0 ] && pass "installed tree complete"
for program in pelmora pelmora-render pelmora-report pelmora-convert; do
    version=$("$prefix/bin/$program" --version 2>&1)
    [[ "$version" =~ ^$program\ [0-9]+\.[0-9]+\.[0-9]+$ ]] && pass "$version" || fail "$program --version said: $version"
done
grep -q "Pelmora [0-9]" "$prefix/share/man/man1/pelmora.1" && pass "manual page carries the version" ||
    fail "manual page without its version"

# --- The desktop entry and the file type, with the desktop's own tools --
desktop-file-validate "$prefix/share/applications/pelmora.desktop" && pass "desktop entry valid" ||
    fail "desktop-file-validate"
grep -q '^MimeType=model/x.directx;$' "$prefix/share/applications/pelmora.desktop" || fail "desktop entry opens no .x file"
grep -q '^Exec=pelmora --as-authored --fit %f$' "$prefix/share/applications/pelmora.desktop" ||
    fail "desktop entry does not open a file as authored and framed"
update-mime-database "$prefix/share/mime" || fail "update-mime-database"
printf 'xof 0303txt 0032\n' >"$work/text-model"
cp "$samples/cube.x" "$work/cube.x"
head -c 16 "$samples/../tests/corpus/assimp/test_cube_binary.x" >"$work/binary-model" 2>/dev/null ||
    printf 'xof 0303bin 0032' >"$work/binary-model"
for file in text-model binary-model cube.x; do
    type=$(XDG_DATA_HOME="$work/none" XDG_DATA_DIRS="$prefix/share:/usr/share" \
           gio info -a standard::content-type "$work/$file" 2>/dev/null | sed -n 's/.*content-type: //p')
    [ "$type" = model/x.directx ] && pass "$file is model/x.directx" || fail "$file is '$type'"
done

# --- Thumbnails and software centres, as the desktop uses them ----------
corpus_model=$samples/../tests/corpus/assimp/BCN_Epileptic.X
# Runs the thumbnailer's Exec line as the file writes it, its programs found
# on PATH from BIN-DIR, with the size 128; checks the picture it makes.
check_thumbnailer() {  # THUMBNAILER-FILE BIN-DIR WHERE
    local exec_line out start elapsed size corners colours
    exec_line=$(sed -n 's/^Exec=//p' "$1")
    grep -q '^MimeType=model/x.directx;$' "$1" || fail "$3: the thumbnailer is not for model/x.directx"
    out=$work/thumbnail-$3.png
    exec_line=${exec_line//%s/128}
    exec_line=${exec_line//%i/\"$corpus_model\"}
    exec_line=${exec_line//%o/\"$out\"}
    start=$(date +%s%N)
    (PATH="$2:$PATH" DISPLAY= WAYLAND_DISPLAY= eval "$exec_line") || fail "$3: the thumbnailer failed: $exec_line"
    elapsed=$((($(date +%s%N) - start) / 1000000))
    size=$(identify -format '%wx%h' "$out" 2>/dev/null)
    corners=$(convert "$out" -format '%[fx:p{0,0}.a+p{127,0}.a+p{0,127}.a+p{127,127}.a]' info: 2>/dev/null)
    colours=$(identify -format '%k' "$out" 2>/dev/null)
    [ "$size" = 128x128 ] && [ "$corners" = 0 ] && [ "${colours:-0}" -gt 16 ] && [ "$elapsed" -lt 2000 ] &&
        pass "$3: thumbnail of 128x128, transparent corners, $colours colours, in $elapsed ms" ||
        fail "$3: thumbnail '$size', corners alpha $corners, $colours colours, $elapsed ms"
    # A file that cannot be loaded: no picture, a non-zero status, a reason.
    exec_line=$(sed -n 's/^Exec=//p' "$1")
    exec_line=${exec_line//%s/128}
    exec_line=${exec_line//%i/\"$work/none.x\"}
    exec_line=${exec_line//%o/\"$work/none.png\"}
    if (PATH="$2:$PATH" eval "$exec_line") 2>"$work/none.err"; then
        fail "$3: a thumbnail of a missing file"
    else
        [ ! -e "$work/none.png" ] && grep -q "no such file" "$work/none.err" &&
            pass "$3: no thumbnail of a missing file" || fail "$3: missing file: $(cat "$work/none.err")"
    fi
}
check_thumbnailer "$prefix/share/thumbnailers/pelmora.thumbnailer" "$prefix/bin" installed
metainfo=$(ls "$prefix"/share/metainfo/*.metainfo.xml 2>/dev/null | head -1)
if [ -n "$metainfo" ]; then
    appstreamcli validate --no-net "$metainfo" >"$work/appstream.log" 2>&1 && pass "metainfo valid" ||
        { cat "$work/appstream.log"; fail "appstreamcli validate"; }
    for program in pelmora pelmora-render pelmora-report pelmora-convert; do
        grep -q "<binary>$program</binary>" "$metainfo" || fail "metainfo does not provide $program"
    done
    grep -q '<mediatype>model/x.directx</mediatype>' "$metainfo" || fail "metainfo without the file type"
else
    fail "no metainfo installed"
fi

# --- The Debian package, unpacked and run from where it lies ------------
cpack --config "$build/CPackConfig.cmake" -G DEB -B "$work/package" >"$work/cpack.log" 2>&1 || {
    cat "$work/cpack.log"
    fail "cpack"
}
package=$(ls "$work"/package/pelmora_*.deb 2>/dev/null | head -1)
if [ -n "$package" ]; then
    pass "package $(basename "$package")"
    depends=$(dpkg-deb -f "$package" Depends)
    [[ "$depends" == *libc6* && "$depends" == *libjpeg62-turbo* && "$depends" == *libgl1-mesa-dri* ]] &&
        pass "dependencies from the linked libraries" || fail "Depends: $depends"
    root=$work/unpacked
    dpkg-deb -x "$package" "$root" || fail "dpkg-deb -x"
    "$root/usr/bin/pelmora-report" --help | grep -q "Usage: pelmora-report" && pass "pelmora-report --help" ||
        fail "pelmora-report --help"
    "$root/usr/bin/pelmora-render" --size 64x48 "$samples/cube.x" "$work/cube.png" &&
        [ "$(head -c 4 "$work/cube.png" | tail -c 3)" = PNG ] && pass "pelmora-render drew the sample" ||
        fail "pelmora-render from the package"
    "$root/usr/bin/pelmora-convert" --help | grep -q "Usage: pelmora-convert" && pass "pelmora-convert --help" ||
        fail "pelmora-convert --help"
    [ -e "$root/usr/share/applications/pelmora.desktop" ] || fail "package without its desktop entry"
    check_thumbnailer "$root/usr/share/thumbnailers/pelmora.thumbnailer" "$root/usr/bin" package
    appstreamcli validate --no-net "$root"/usr/share/metainfo/*.metainfo.xml >/dev/null 2>&1 &&
        pass "package metainfo valid" || fail "package metainfo"
else
    fail "no package made"
fi

echo "$failures failure(s)"
[ "$failures" -eq 0 ]
