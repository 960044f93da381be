#!/bin/sh
# `make clean` removes what the build made and leaves the learner's files, which `make run`
# keeps in build/ beside the program.
set -eu
source_dir=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

mkdir -p "$work/tools" "$work/build/CMakeFiles/engine.dir" "$work/build/tests" \
    "$work/build/ui_autogen" "$work/build/tdcs" "$work/build-asan/CMakeFiles"
cp "$source_dir/Makefile" "$work/"
cp "$source_dir/tools/clean_build.sh" "$work/tools/"
cd "$work"
printf '1,0,0,1,0,5,0\r\nmine\r\n' >build/kestruml.ini
printf '\000\007lesson1\001\000\173\137' >build/score.dat
echo 'Amount=1' >build/tdcs/mine.tdc
echo 'Amount=2' >build/tdcs/sample.tdc
learner=$(cd build && find . -type f -exec md5sum {} + | sort)
for made in build/CMakeCache.txt build/build.ninja build/.ninja_log build/kestrum-lite \
    build/libengine.a build/CMakeFiles/engine.dir/a.o build/tests/menu_tests \
    build/compile_commands.json build-asan/CMakeFiles/x; do
    echo built >"$made"
done

make clean >/dev/null

[ "$(cd build && find . -type f -exec md5sum {} + | sort)" = "$learner" ] ||
    fail "left in build/: $(find build)"
[ ! -e build-asan ] || fail "build-asan/ is still there"
echo "ok"
