#!/usr/bin/env bash
# Runs every fuzz target for the given number of seconds on a scratch copy of its seed corpus, so
# that the run leaves the committed corpus as it is. A finding fails the run and its reproducer
# is left in <build>/findings/ (move it to fuzz/corpus/<target>/ with its regression test).
set -euo pipefail
seconds=${1:-20}
build=${2:-build-fuzz}
root=$(cd "$(dirname "$0")/.." && pwd)
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
findings="$root/$build/findings"
mkdir -p "$findings"
status=0
# The sources name the targets, so a stale binary of a removed target never runs.
for source in "$root"/fuzz/*_fuzz.cpp; do
    name=$(basename "$source" .cpp)
    target="$root/$build/fuzz/$name"
    mkdir -p "$scratch/$name"
    cp -r "$root/fuzz/corpus/$name/." "$scratch/$name/" 2>/dev/null || true
    echo "== $name for ${seconds}s"
    if ! "$target" -max_total_time="$seconds" -max_len=65536 -timeout=10 -rss_limit_mb=2048 \
        -artifact_prefix="$findings/$name-" -print_final_stats=1 "$scratch/$name" \
        2>"$scratch/$name.log"; then
        tail -n 60 "$scratch/$name.log"
        status=1
    else
        grep -E '^(#[0-9]+.*DONE|stat::number_of_executed_units)' "$scratch/$name.log" || true
    fi
done
exit $status
