#!/bin/sh
# Two starts of the real program on one folder: the second brings the first to the front and
# ends without touching a file, and the first goes on working. The folder's name is not UTF-8,
# and a program killed outright leaves a lock that the next start takes over.
set -eu
exe=$1
for tool in Xvfb openbox xdotool xprop; do
    command -v $tool >/dev/null || { echo "$tool is missing"; exit 77; }
done
work=$(mktemp -d)
pids=""
trap 'kill $pids 2>/dev/null || true; rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; exit 1; }
# Polls a condition for up to thirty seconds (a loaded machine starts programs slowly).
await() {
    for _ in $(seq 300); do eval "$1" >/dev/null 2>&1 && return 0; sleep 0.1; done
    fail "$2"
}
active_pid() { xdotool getactivewindow getwindowpid 2>/dev/null; }
snapshot() { find "$work" -printf '%p %s %T@ %C@ %m\n' | sort; }

Xvfb -displayfd 3 -screen 0 1280x1024x24 3>"$work/display" 2>/dev/null &
pids="$! $pids"
await '[ -s "$work/display" ]' "no X server"
DISPLAY=:$(cat "$work/display")
export DISPLAY
rm "$work/display"
openbox >/dev/null 2>&1 &
pids="$! $pids"
await 'xprop -root _NET_SUPPORTING_WM_CHECK | grep -q "window id"' "no window manager"

# Starts the program of a folder; its process is $started.
start() {
    "$1/kestrum-lite" &
    started=$!
    pids="$started $pids"
}

one="$work/$(printf 'caf\351')"
two="$work/other"
mkdir "$one" "$two"
cp "$exe" "$one/kestrum-lite" && cp "$exe" "$two/kestrum-lite"
printf '\000\007lesson1\001\000\173\137' | tee "$one/score.dat" >"$work/history"
printf '0,1,2,0,1,50,3\r\nold\r\n' >"$one/kestruml.ini"
cd "$work"

start "$one" && first=$started
await '[ "$(active_pid)" = $first ]' "the first program shows no window"
start "$two" && other=$started
await '[ "$(active_pid)" = $other ]' "a program on another folder does not start"

before=$(snapshot)
timeout 20 "$one/kestrum-lite" || fail "the second start on the folder did not end (it would run on)"
[ "$(snapshot)" = "$before" ] || fail "the second start touched a file"
await '[ "$(active_pid)" = $first ]' "the first program did not come to the front"

xdotool key alt+c
await '! kill -0 $first' "the first program does not close"
# It read and wrote its own folder's files, not ./0's.
[ "$(head -c 14 "$one/kestruml.ini")" = "0,1,2,0,1,50,3" ] || fail "kestruml.ini: $(od -c "$one/kestruml.ini")"
cmp "$one/score.dat" "$work/history" || fail "score.dat changed"
[ ! -e "$work/0" ] || fail "files went to ./0"
[ ! -e "$one/kestruml.lock" ] || fail "the lock file stayed after the program ended"

# A program killed outright leaves its lock file; the next start takes the folder over.
kill -9 $other && wait $other 2>/dev/null || true
[ -e "$two/kestruml.lock" ] || fail "a killed program's lock file is gone"
start "$two"
await '[ "$(active_pid)" = $started ]' "the lock of a killed program was not taken over"
echo "ok"
