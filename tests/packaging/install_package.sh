#!/usr/bin/env bash
# Run under a virtual X display (xvfb-run) after the build: installs the build tree into a
# staging root and checks what a department gets. Every program, the two controls with a run
# path that finds them, the placeholder video, desktop entry, file type, icon, manual pages
# and copyright; the installed launcher opens the demo recording and the viewer takes the
# placeholder from the installed data folder; the Debian package has its dependencies and
# passes lintian.
set -uo pipefail
build=$1 source=$2

work=$(mktemp -d)
pids=()
cleanup() {
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null; done
    rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAIL: $*"; exit 1; }

root=$work/root
DESTDIR=$root cmake --install "$build" --prefix /usr >"$work/install.log" ||
    fail "cmake --install: $(tail -3 "$work/install.log")"
lib=$(find "$root/usr/lib" -name libtracectl.so -printf '%h\n')
[ -n "$lib" ] || fail "libtracectl.so not installed"

# 1. Every file a department needs, and every program a tool folder builds.
programs=(viewer startviewer)
for dir in "$source"/tools/*/; do
    name=$(basename "$dir")
    [ -x "$build/bin/$name" ] && programs+=("$name")
done
expected=("$lib/libclipdeck.so" usr/share/viewer/noVideo.mpg
          usr/share/applications/viewer.desktop usr/share/mime/packages/viewer-trace.xml
          usr/share/icons/hicolor/scalable/apps/viewer.svg
          usr/share/doc/viewer/copyright usr/share/doc/viewer/changelog.gz)
for name in viewer startviewer tracecall clipcall make-demo; do
    expected+=("usr/share/man/man1/$name.1.gz")
done
for name in "${programs[@]}"; do
    expected+=("usr/bin/$name")
done
for file in "${expected[@]}"; do
    [ -s "$root/${file#"$root"/}" ] || fail "not installed: ${file#"$root"/}"
done
# The placeholder must come from the data folder, not from beside the program.
[ -e "$root/usr/bin/noVideo.mpg" ] && fail "noVideo.mpg installed beside the program"
for name in "${programs[@]}"; do
    ldd "$root/usr/bin/$name" | grep -q 'not found' && fail "$name: $(ldd "$root/usr/bin/$name" | grep 'not found')"
done
found=$(ldd "$root/usr/bin/viewer" | sed -n 's/.*libtracectl.so => \(.*\) (.*/\1/p')
[ "$(realpath "$found")" = "$lib/libtracectl.so" ] || fail "viewer takes its trace control from '$found'"
echo "installed: ${#expected[@]} files, programs ${programs[*]}"

# 2. The installed launcher opens the demo recording, and the viewer takes the placeholder
#    from the installed data folder: its look-up is traced, the look beside the program fails
#    and the data folder's succeeds.
export XDG_CONFIG_HOME=$work/config QT_QPA_PLATFORM=xcb
"$root/usr/bin/make-demo" --no-video "$work/demo.vwr" >/dev/null || fail "make-demo failed"
"$root/usr/bin/startviewer" "$work/demo.vwr" >"$work/launcher.out" 2>"$work/launcher.err" &
launcher=$!
pids+=("$launcher")
wait "$launcher"
status=$?
viewer_pid=$(sed -n 's/^viewer pid //p' "$work/launcher.out")
[ -n "$viewer_pid" ] && pids+=("$viewer_pid")
[ "$status" -eq 0 ] || fail "the installed launcher ended with $status: $(cat "$work/launcher.err")"
xwininfo -root -tree | grep -qF '(Ver. 1.00.000)' || fail "no viewer window on the demo recording"
kill "$viewer_pid"

placeholder=$root/usr/share/viewer/noVideo.mpg
strace -qq -o "$work/trace" -e trace=%file -P "$root/usr/bin/noVideo.mpg" -P "$placeholder" \
    "$root/usr/bin/viewer" 2>/dev/null &
tracer=$!
pids+=("$tracer")
for _ in $(seq 150); do
    grep -q "\"$placeholder\".* = 0" "$work/trace" 2>/dev/null && break
    sleep 0.2
done
for pid in $(pgrep -P "$tracer"); do kill "$pid"; done
grep -q "\"$root/usr/bin/noVideo.mpg\".* = -1 ENOENT" "$work/trace" ||
    fail "the viewer did not look beside itself first: $(cat "$work/trace")"
grep -q "\"$placeholder\".* = 0" "$work/trace" ||
    fail "the viewer did not find the installed placeholder: $(cat "$work/trace")"
echo "installed launcher opened the demo; placeholder found in the data folder"

# 3. Desktop entry and file type.
desktop-file-validate "$root/usr/share/applications/viewer.desktop" ||
    fail "desktop-file-validate"
export XDG_DATA_HOME=$work/data XDG_DATA_DIRS=/usr/share
mkdir -p "$XDG_DATA_HOME/mime/packages"
cp "$root/usr/share/mime/packages/viewer-trace.xml" "$XDG_DATA_HOME/mime/packages/"
update-mime-database "$XDG_DATA_HOME/mime" || fail "update-mime-database"
type=$(xdg-mime query filetype "$work/demo.vwr")
[ "$type" = application/x-viewer-trace ] || fail "a recording is of type '$type'"
echo "desktop entry valid; a recording is $type"
# EDF and BDF files by their signature, a BDF recording apart from a BDF font of the same name.
"$root/usr/bin/vwr2edf" "$work/demo.vwr" "$work/demo.edf" >/dev/null 2>&1 || fail "vwr2edf failed"
printf '\377BIOSEMI' >"$work/rec.bdf"
printf 'STARTFONT 2.1\n' >"$work/font.bdf"
for pair in demo.edf:application/x-edf rec.bdf:application/x-bdf font.bdf:application/x-font-bdf; do
    type=$(xdg-mime query filetype "$work/${pair%%:*}")
    [ "$type" = "${pair#*:}" ] || fail "${pair%%:*} is of type '$type'"
done
grep -q 'MimeType=.*application/x-edf;application/x-bdf;' "$root/usr/share/applications/viewer.desktop" ||
    fail "the desktop entry does not open EDF and BDF files"
echo "EDF and BDF recordings known by their signature"

# 4. The Debian package: dependencies found and named, and no lintian error.
(cd "$work" && cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work/deb" >cpack.log 2>&1) ||
    fail "cpack: $(tail -5 "$work/cpack.log")"
deb=$(ls "$work"/deb/*.deb)
depends=$(dpkg-deb --field "$deb" Depends)
for pkg in libqt6widgets6 libgstreamer1.0-0 libx11-6 qt6-qpa-plugins gstreamer1.0-plugins-good \
           gstreamer1.0-plugins-bad gstreamer1.0-plugins-ugly gstreamer1.0-libav; do
    grep -qE "(^|, )$pkg( |,|$)" <<<"$depends" || fail "the package does not depend on $pkg: $depends"
done
dpkg-deb --contents "$deb" >"$work/contents" || fail "dpkg-deb --contents"
grep -q '/usr/bin/viewer$' "$work/contents" || fail "the package holds no viewer"
lintian --fail-on error "$deb" >"$work/lintian.log" 2>&1 || fail "lintian: $(cat "$work/lintian.log")"
echo "Depends: $depends"
echo "package $(basename "$deb"): dependencies named, $(grep -c '^W:' "$work/lintian.log") lintian warnings"
echo "1 passed, 0 failed"
