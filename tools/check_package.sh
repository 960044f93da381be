#!/usr/bin/env bash
# Builds the Debian package, has lintian judge it (any error or warning fails), installs it with
# dpkg -i and practises a lesson with the installed program under Xvfb, once as a new user who
# cannot write /usr and once as root, who can: each one's files must land in their own
# ~/.local/share/kestrum-lite (made for its owner only, the lock file gone after the program
# ends), nothing may be written under /usr, and `dpkg -P` must leave no folder behind. The
# package, the user and root's test files are removed however the check ends.
# Run as root (dpkg, useradd); installs lintian when it is missing; needs xvfb, openbox and
# xdotool. DISPLAY_NUMBER (such as 160) picks the display; by default the X server takes a free one.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
learner=${LEARNER:-kestrum-learner}
[ "$(id -u)" = 0 ] || { echo "run as root"; exit 2; }

pids=()
made_user=""
root_data=/root/.local/share/kestrum-lite
root_saved=""
cleanup() {
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
    if dpkg-query -W -f='${Status}' kestrum-lite 2>/dev/null | grep -q installed; then
        dpkg -P kestrum-lite >/dev/null || true
    fi
    [ -z "$made_user" ] || userdel --remove "$learner" 2>/dev/null || true
    rm -rf "$root_data"
    [ -z "$root_saved" ] || mv "$root_saved" "$root_data"
    rmdir /root/.local/share /root/.local 2>/dev/null || true # only when the check made them
}
trap cleanup EXIT
fail() { echo "FAIL: $*"; exit 1; }

command -v lintian >/dev/null || {
    apt-get update -qq
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends lintian >/dev/null
}
make -C "$root" package JOBS="${JOBS:-2}" >/dev/null
deb=$(ls -t "$root"/build-package/kestrum-lite_*.deb | head -n1)
lintian --fail-on error,warning "$deb" || fail "lintian: $(basename "$deb")"
echo "lintian: no error or warning"

dpkg -i "$deb" >/dev/null
echo "installed $(basename "$deb")"
program_dir=$(dirname "$(readlink -f /usr/bin/kestrum-lite)")
installed_folders=$(dpkg -L kestrum-lite | grep kestrum)
stamp=$(mktemp)

if ! id "$learner" >/dev/null 2>&1; then
    useradd --create-home --shell /bin/bash "$learner"
    made_user=yes
fi
home=$(getent passwd "$learner" | cut -d: -f6)
rm -rf "$home/.local/share/kestrum-lite"
if [ -e "$root_data" ]; then
    root_saved=$(mktemp -d /root/.kestrum-lite-saved.XXXXXX)
    rmdir "$root_saved"
    mv "$root_data" "$root_saved"
fi
runuser -u "$learner" -- test -w "$program_dir" && fail "$learner can write $program_dir"

# The X server on the display asked for, or on the first free one it finds itself.
display_file=$(mktemp)
if [ -n "${DISPLAY_NUMBER:-}" ]; then
    Xvfb ":${DISPLAY_NUMBER#:}" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
    pids+=($!)
    echo "${DISPLAY_NUMBER#:}" >"$display_file"
else
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$display_file" 2>/dev/null &
    pids+=($!)
fi
for _ in $(seq 100); do [ -s "$display_file" ] && break; sleep 0.1; done
export DISPLAY=:$(head -n1 "$display_file")
rm -f "$display_file"
timeout 10 sh -c 'until xdpyinfo >/dev/null 2>&1; do sleep 0.1; done' || fail "no X server on $DISPLAY"
sleep 0.5
kill -0 "${pids[0]}" 2>/dev/null || fail "$DISPLAY is taken by another X server"
openbox >/dev/null 2>&1 &
pids+=($!)
sleep 1

# The first visible window whose title matches, waiting up to twenty seconds. A search that
# meets a window closing meanwhile fails, so it is simply asked again.
window() {
    local found
    for _ in $(seq 100); do
        found=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n1 || true)
        [ -z "$found" ] || { echo "$found"; return; }
        sleep 0.2
    done
}

# Starts the installed program with the command given; its process is $program.
start() {
    "$@" &
    program=$!
    pids+=("$program")
    menu=$(window '^ケストラムLite$')
    [ -n "$menu" ] || fail "the menu did not appear"
    xdotool windowactivate --sync "$menu"
}
close_menu() {
    xdotool windowactivate --sync "$menu" key alt+c
    timeout 10 tail --pid="$program" -f /dev/null || fail "the program did not end"
}

# A first start makes the data folder with the sample set; a one-item set made current is then
# practised for a whole run, and the history, settings and sets must all be in that folder.
practise() {
    local data=$1
    shift
    start "$@" kestrum-lite
    close_menu
    [ -f "$data/tdcs/sample.tdc" ] || fail "no sample set in $data/tdcs"
    [ "$(stat -c %a "$data")" = 700 ] || fail "$data is not for its owner only"
    "$@" sh -c "printf 'Title=check\r\nAmount=1\r\nText[1]=fj\r\nComment[1]=\r\n' >'$data/tdcs/check.tdc'"
    "$@" sh -c "printf '1,0,0,1,0,5,0\r\ncheck\r\n' >'$data/kestruml.ini'"
    start "$@" kestrum-lite
    xdotool key alt+u
    local drill
    drill=$(window 'check$')
    [ -n "$drill" ] || fail "the problem-set lesson did not start"
    xdotool windowactivate --sync "$drill"
    xdotool key space
    for _ in 1 2 3 4 5; do
        sleep 0.8
        xdotool type --delay 150 fj
    done
    sleep 1.5
    xdotool key Escape # the result window goes back to the menu
    sleep 1
    close_menu
    for file in kestruml.ini score.dat tdcs/sample.tdc tdcs/check.tdc; do
        [ -f "$data/$file" ] || fail "no $file in $data"
    done
    grep -q check "$data/score.dat" || fail "score.dat holds no attempt of the set"
    [ ! -e "$data/kestruml.lock" ] || fail "the lock file stayed in $data"
    echo "OK: the files are in $data:"
    ls -l "$data" "$data/tdcs"
}

practise "$home/.local/share/kestrum-lite" runuser -u "$learner" -- env HOME="$home" DISPLAY="$DISPLAY"
# Root may write /usr, and has no HOME here: the account's home is used all the same.
practise "$root_data" env -u HOME -u XDG_DATA_HOME DISPLAY="$DISPLAY"

written=$(find /usr -xdev -newer "$stamp" \( -path '*kestrum*' -o -name 'kestruml*' \
    -o -name score.dat -o -name options.ini -o -name '*.tdc' \) -print)
rm -f "$stamp"
[ -z "$written" ] || fail "written under /usr: $written"
[ "$(find "$program_dir" | sort)" = "$(echo "$installed_folders" | grep "^$program_dir" | sort)" ] ||
    fail "files beside the program: $(ls -A "$program_dir")"
echo "OK: nothing written under /usr"

dpkg -P kestrum-lite >/dev/null
left=$(for path in $installed_folders; do [ ! -e "$path" ] || echo "$path"; done)
[ -z "$left" ] || fail "left after dpkg -P: $left"
echo "OK: dpkg -P removed every file and folder of the package"
