#!/usr/bin/env bash
# Installs the build into a folder of its own and looks at what is there as
# a desktop would; then makes the Debian package, unpacks it and runs its
# programs from there.
#   check_install.sh BUILD-DIR SAMPLES-DIR
set -uo pipefail
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
for file in bin/pelmora bin/pelmora-render bin/pelmora-report \
            share/applications/pelmora.desktop share/mime/packages/pelmora.xml \
            share/icons/hicolor/scalable/apps/pelmora.svg \
            share/icons/hicolor/{16x16,24x24,32x32,48x48,64x64,128x128,256x256}/apps/pelmora.png \
            share/man/man1/{pelmora,pelmora-render,pelmora-report}.1; do
    [ -e "$prefix/$file" ] || fail "missing $file"
done
[ "$failures" -eq 0 ] && pass "installed tree complete"
for program in pelmora pelmora-render pelmora-report; do
    version=$("$prefix/bin/$program" --version 2>&1)
    [[ "$version" =~ ^$program\ [0-9]+\.[0-9]+\.[0-9]+$ ]] && pass "$version" || fail "$program --version said: $version"
done
grep -q "Pelmora [0-9]" "$prefix/share/man/man1/pelmora.1" && pass "manual page carries the version" ||
    fail "manual page without its version"

# --- The desktop entry and the file type, with the desktop's own tools --
desktop-file-validate "$prefix/share/applications/pelmora.desktop" && pass "desktop entry valid" ||
    fail "desktop-file-validate"
grep -q '^MimeType=model/x.directx;$' "$prefix/share/applications/pelmora.desktop" || fail "desktop entry opens no .x file"
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
    [ -e "$root/usr/share/applications/pelmora.desktop" ] || fail "package without its desktop entry"
else
    fail "no package made"
fi

echo "$failures failure(s)"
[ "$failures" -eq 0 ]
