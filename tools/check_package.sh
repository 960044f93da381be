#!/usr/bin/env bash
# Builds the Debian package, installs it with dpkg -i and runs the installed program as a learner
# who cannot write /usr, under Xvfb: the first start must copy the sample set into
# ~/.local/share/kestrum-lite, a problem-set lesson is typed with xdotool, and kestruml.ini,
# score.dat and tdcs/ must all be in that folder afterwards, nothing beside the program.
# Run as root (dpkg, useradd); needs xvfb, openbox and xdotool. DISPLAY_NUMBER picks the display.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
learner=${LEARNER:-kestrum-learner}
export DISPLAY=${DISPLAY_NUMBER:-:96}

make -C "$root" package JOBS=2 >/dev/null
deb=$(ls -t "$root"/build-package/kestrum-lite_*.deb | head -n1)
dpkg -i "$deb" >/dev/null
echo "installed $(basename "$deb")"
program_dir=$(dirname "$(readlink -f /usr/bin/kestrum-lite)")

id "$learner" >/dev/null 2>&1 || useradd --create-home --shell /bin/bash "$learner"
home=$(getent passwd "$learner" | cut -d: -f6)
data=$home/.local/share/kestrum-lite
rm -rf "$data"
as_learner() { runuser -u "$learner" -- env HOME="$home" DISPLAY="$DISPLAY" "$@"; }
if as_learner test -w "$program_dir"; then echo "FAIL: $learner can write $program_dir"; exit 1; fi

Xvfb "$DISPLAY" -screen 0 1280x1024x24 >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null' EXIT
sleep 1
openbox >/dev/null 2>&1 &
sleep 1

fail() { echo "FAIL: $*"; exit 1; }
start() {
    as_learner kestrum-lite >/dev/null 2>&1 &
    menu=$(timeout 20 xdotool search --sync --onlyvisible --name '^ケストラムLite$' | head -n1)
    [ -n "$menu" ] || fail "the menu did not appear"
    xdotool windowactivate --sync "$menu"
}
close_menu() {
    xdotool windowactivate --sync "$menu" key alt+c
    timeout 10 bash -c 'while pgrep -u '"$learner"' -x kestrum-lite >/dev/null; do sleep 0.2; done' ||
        fail "the program did not end"
}

# First start: the data folder and its sample set appear; closing writes the settings there.
start
close_menu
[ -f "$data/tdcs/sample.tdc" ] || fail "no sample set in $data/tdcs"
[ -f "$data/kestruml.ini" ] || fail "no kestruml.ini in $data"

# A one-item set made current, so that the keys to type are known; then a whole run of it.
as_learner sh -c "printf 'Title=check\r\nAmount=1\r\nText[1]=fj\r\nComment[1]=\r\n' >'$data/tdcs/check.tdc'"
as_learner sh -c "printf '1,0,0,1,0,5,0\r\ncheck\r\n' >'$data/kestruml.ini'"
start
xdotool key alt+u
drill=$(timeout 20 xdotool search --sync --onlyvisible --name 'check$' | head -n1)
[ -n "$drill" ] || fail "the problem-set lesson did not start"
xdotool windowactivate --sync "$drill"
xdotool key space
for _ in 1 2 3 4 5; do
    sleep 0.8
    xdotool type --delay 150 fj
done
sleep 1.5
xdotool key Escape  # the result window goes back to the menu
sleep 1
close_menu

for file in kestruml.ini score.dat tdcs/sample.tdc tdcs/check.tdc; do
    [ -f "$data/$file" ] || fail "no $file in $data"
done
grep -q check "$data/score.dat" || fail "score.dat holds no attempt of the set"
stray=$(find "$program_dir" -name kestruml.ini -o -name score.dat -o -name temp.tmp)
[ -z "$stray" ] || fail "files beside the program: $stray"
echo "OK: $learner's files are in $data:"
ls -l "$data" "$data/tdcs"
od -An -c "$data/score.dat" | head -n2
