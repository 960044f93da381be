#!/usr/bin/env bash
# Takes the README's screenshots from the real program under Xvfb, driving it with xdotool the
# way a learner would. Needs xvfb, xdotool and imagemagick; writes docs/screenshots/*.png.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
program=${1:-$root/build/kestrum-lite}
out=$root/docs/screenshots
mkdir -p "$out"
export DISPLAY=${DISPLAY_NUMBER:-:97}
Xvfb "$DISPLAY" -screen 0 1280x1024x24 >/dev/null 2>&1 &
xvfb=$!
work=$(mktemp -d)
trap 'kill $xvfb 2>/dev/null; rm -rf "$work"' EXIT
sleep 1

# A history file: kind, name length, name, count, then big-endian speed and accuracy per attempt.
history() {
    python3 - "$@" <<'PY'
import sys, math
out = bytearray()
for entry in sys.argv[2:]:
    kind, name, count = entry.split(":")
    count = int(count)
    out += bytes([int(kind), len(name)]) + name.encode() + bytes([count])
    for i in range(count):
        speed = int(60 + 2.6 * i + 12 * math.sin(i / 2.3))
        accuracy = min(100, int(78 + 0.45 * i + 5 * math.sin(i / 1.7)))
        out += bytes([speed >> 8, speed & 255, accuracy])
open(sys.argv[1], "wb").write(out)
PY
}

start() {  # start DIR: runs the program kept in DIR and waits for its menu
    (cd "$1" && ./kestrum-lite >/dev/null 2>&1 &)
    menu=$(xdotool search --sync --onlyvisible --name '^ケストラムLite$' | head -n1)
}
window() { xdotool search --sync --onlyvisible --name "$1" | head -n1; }
click() { xdotool mousemove --window "$1" "$2" "$3" click "${4:-1}"; sleep 0.6; }
shot() {  # shot WINDOW NAME
    sleep 0.4
    import -window root "$work/full.png"
    eval "$(xdotool getwindowgeometry --shell "$1")"
    convert "$work/full.png" -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "$out/$2.png"
}
typeslowly() { xdotool type --delay 220 "$1"; }

# First run: the sample problem set chosen, a lesson 1 history worth a graph.
one=$work/one
mkdir -p "$one/tdcs"
cp "$program" "$one/"
cp "$root/resources/tdcs/sample.tdc" "$one/tdcs/"
printf '1,0,0,1,0,5,0\r\nsample\r\n' >"$one/kestruml.ini"
history "$one/score.dat" 0:lesson1:42
start "$one"
shot "$menu" menu

click "$menu" 108 120  # LESSON 1
drill=$(window 'lesson1$')
xdotool key f; sleep 0.3; xdotool key f; sleep 0.2; xdotool key j
shot "$drill" drill_small
click "$drill" 492 376  # メニューに戻る

click "$menu" 384 404  # オプション
options=$(window '^オプション$')
click "$options" 210 120  # 特大
shot "$options" options
click "$options" 240 310  # OK

click "$menu" 108 160  # LESSON 2
drill=$(window 'lesson2$')
xdotool key f; sleep 0.3; xdotool key f j; sleep 0.2; xdotool key k
shot "$drill" drill_extra_large
eval "$(xdotool getwindowgeometry --shell "$drill")"
click "$drill" $((WIDTH - 90)) $((HEIGHT - 40))  # メニューに戻る

click "$menu" 108 80  # LESSON 0
tutorial=$(window 'Lesson0$')
for _ in 1 2 3 4 5 6 7 8 9 10; do xdotool key space; sleep 0.15; done
sleep 0.7
shot "$tutorial" tutorial_page9
eval "$(xdotool getwindowgeometry --shell "$tutorial")"
click "$tutorial" $((WIDTH - 90)) $((HEIGHT - 40))

click "$menu" 108 120 3  # right click on LESSON 1: its graph
graph=$(window '^グラフ')
shot "$graph" graph
xdotool key Return; sleep 0.5

click "$menu" 280 404  # バージョン情報
version=$(window '^バージョン情報$')
shot "$version" version
xdotool key Return; sleep 0.5
click "$menu" 488 404  # 閉じる

# Second run: a one-item problem set typed to the end, beside an earlier attempt.
two=$work/two
mkdir -p "$two/tdcs"
cp "$program" "$two/"
printf 'Amount=1\r\nText[1]=asdf jkl;\r\nComment[1]=\x83\x7a\x81\x5b\x83\x80\x83\x7c\x83\x57\x83\x56\x83\x87\x83\x93\r\n' \
    >"$two/tdcs/home.tdc"
printf '1,0,0,1,0,5,0\r\nhome\r\n' >"$two/kestruml.ini"
history "$two/score.dat" 1:home:3
start "$two"
click "$menu" 108 368  # the problem set
xdotool key space; sleep 0.4
for i in 1 2 3 4 5; do
    [ "$i" = 2 ] && { xdotool key x; sleep 0.2; }
    typeslowly 'asdf jkl;'
    sleep 0.5
done
result=$(window '結果$')
shot "$result" result
xdotool key Escape 2>/dev/null || true
sleep 0.5
click "$menu" 488 404  # 閉じる

# Third run: romaji in another spelling than the row's, with the option on.
three=$work/three
mkdir -p "$three/tdcs"
cp "$program" "$three/"
printf 'Amount=1\r\nText[1]=jitennsya\r\nComment[1]=\x8e\xa9\x93\x5d\x8e\xd4\r\n' >"$three/tdcs/romaji.tdc"
printf '1,0,0,1,0,5,0\r\nromaji\r\n' >"$three/kestruml.ini"
printf 'romaji_spellings=1\r\n' >"$three/options.ini"
start "$three"
click "$menu" 108 368  # the problem set
drill=$(window '^ケストラムLite   ')
xdotool key space; sleep 0.4
typeslowly 'jite'
shot "$drill" drill_romaji_before
typeslowly 'nsh'
shot "$drill" drill_romaji_after

# The kana course with some history, then its voiced-kana lesson with が half typed: か struck,
# ゛ lit. Under the X server's US key map, T is the か key.
kana=$work/kana
mkdir -p "$kana/tdcs"
cp "$program" "$kana/"
history "$kana/score.dat" 0:kana1:12 0:kana2:6 0:kana5:3
start "$kana"
xdotool key alt+k
course=$(window 'かな入力$')
shot "$course" kana_course
xdotool key alt+5
drill=$(window 'かな入力 濁音と半濁音$')
xdotool key a; sleep 0.4
typeslowly 'ttt'
shot "$drill" kana_drill
# The extra-large keyboard (the last number of kestruml.ini's line 1): ぁ is the あ key, 3, with
# the right Shift.
kanaxl=$work/kanaxl
mkdir -p "$kanaxl/tdcs"
cp "$program" "$kanaxl/"
printf '1,0,0,1,0,5,1\r\n' >"$kanaxl/kestruml.ini"
start "$kanaxl"
xdotool key alt+k; sleep 0.6
xdotool key alt+6
drill=$(window 'かな入力 小さい字と記号$')
xdotool key a; sleep 0.4
typeslowly '33'
shot "$drill" kana_keyboard

# Fourth run: the problem-set window on the sample set, then a text the lesson could not use. The
# program is left with its unsaved change and ends with the X server.
start "$one"
click "$menu" 460 368  # 問題集設定
sets=$(window '^問題集設定$')
shot "$sets" problem_sets
xdotool key alt+a; sleep 0.3  # 行を追加
typeslowly 'hello!'
xdotool key Tab; sleep 0.3
shot "$sets" problem_sets_refused
