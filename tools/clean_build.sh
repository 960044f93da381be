#!/bin/sh
# Removes what the build made from each build folder given, and nothing else. `make run` starts
# the program from build/, so the learner's files live there too (kestruml.ini, score.dat,
# tdcs/, and whatever a later version keeps): only the names CMake, Ninja, CTest and the
# compiler produce are removed, so anything else survives. A folder left empty goes too.
set -eu
for dir in "$@"; do
    [ -d "$dir" ] || continue
    (
        cd "$dir"
        rm -rf CMakeCache.txt CMakeFiles CTestTestfile.cmake DartConfiguration.tcl Testing \
            build.ninja .ninja_deps .ninja_log cmake_install.cmake compile_commands.json \
            install_manifest.txt .cmake ./*_autogen ./lib*.a kestrum-lite tests bench fuzz \
            findings corpus
    )
    rmdir "$dir" 2>/dev/null || true
done
