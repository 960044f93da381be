#!/bin/sh
# Renders the icon's PNGs, one per size of the hicolor theme, from resources/icons/kestrum-lite.svg
# (the smallest from its pixel-grid twin kestrum-lite-16.svg).
# Run after changing the picture; the PNGs are kept in the repository so that a build needs no
# SVG renderer. Needs rsvg-convert (librsvg2-bin).
set -eu
icons=$(cd "$(dirname "$0")/../resources/icons" && pwd)
for size in 16 22 24 32 48 64 128 256; do
    mkdir -p "$icons/${size}x${size}"
    source=kestrum-lite.svg
    [ $size = 16 ] && source=kestrum-lite-16.svg
    rsvg-convert -w $size -h $size "$icons/$source" -o "$icons/${size}x${size}/kestrum-lite.png"
done
