#!/usr/bin/env bash
# Run under a virtual X display (xvfb-run). Started by the launcher, the viewer opens the
# recording and closes the launcher's window "StartViewer"; started with a path but without
# that window, it shows "Can't find application to close" and ends once the user closes it.
set -uo pipefail
viewer=$1 startviewer=$2 closer=$3 makedemo=$4

work=$(mktemp -d)
pids=()
cleanup() {
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null; done
    rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAIL: $*"; exit 1; }

export XDG_CONFIG_HOME=$work/config
export QT_QPA_PLATFORM=xcb
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=0}
"$makedemo" --no-video "$work/rec.vwr" >/dev/null || fail "cannot write the recording"

# Waits up to 30 s for a shown window whose title is exactly $1 and whose class is $2
# (Qt also names hidden helper windows after the program).
wait_for_window() {
    for _ in $(seq 150); do
        xwininfo -root -tree | grep -qF "\"$1\": (\"$2\"" && return 0
        sleep 0.2
    done
    return 1
}

# 1. The launcher's window is closed by the viewer, which stays open on the recording.
"$startviewer" "$work/rec.vwr" >"$work/launcher.out" &
launcher=$!
pids+=("$launcher")
wait_for_window StartViewer startviewer || fail "the launcher window did not appear"
wait "$launcher"
status=$?
viewer_pid=$(sed -n 's/^viewer pid //p' "$work/launcher.out")
[ -n "$viewer_pid" ] && pids+=("$viewer_pid")
[ "$status" -eq 0 ] || fail "the launcher window was not closed (launcher status $status)"
xwininfo -name StartViewer >/dev/null 2>&1 && fail "a StartViewer window is still there"
kill -0 "$viewer_pid" 2>/dev/null || fail "the viewer ended"
xwininfo -root -tree | grep -qF '(Ver. 1.00.000)' || fail "no viewer window with its title"
kill "$viewer_pid"
echo "launcher window closed by the viewer"

# 2. No launcher window: the error is shown and the program ends when it is dismissed.
"$viewer" "$work/rec.vwr" 2>"$work/viewer.err" &
alone=$!
pids+=("$alone")
wait_for_window Viewer viewer || fail "no error box"
grep -qF "Can't find application to close" "$work/viewer.err" || fail "error text missing"
kill -0 "$alone" 2>/dev/null || fail "the viewer ended before the error was dismissed"
xwininfo -root -tree | grep -qF '(Ver. 1.00.000)' && fail "the main window was shown"
"$closer" Viewer || fail "cannot dismiss the error box"
for _ in $(seq 100); do
    kill -0 "$alone" 2>/dev/null || break
    sleep 0.2
done
kill -0 "$alone" 2>/dev/null && fail "the viewer did not end"
wait "$alone"
status=$?
[ "$status" -ne 0 ] || fail "the viewer ended with status 0 after the error"
echo "missing launcher window reported, viewer ended with status $status"
echo "1 passed, 0 failed"
