#!/bin/sh
# Renders every icon source to the 16 px and 32 px (@2x) pictures the
# program ships. Run from anywhere after editing an .svg; needs ImageMagick.
set -e
cd "$(dirname "$0")"
for svg in [0-9][0-9]-*.svg; do
    base=${svg%.svg}
    convert -background none -density 96 "$svg" -depth 8 "PNG32:$base.png"
    convert -background none -density 192 "$svg" -depth 8 "PNG32:$base@2x.png"
done
