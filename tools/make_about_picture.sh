#!/usr/bin/env bash
# Draws the about box's picture (320 x 200) with ImageMagick and writes it as a baseline JPEG.
# The result is committed as res/about.jpg; run this again only to change the picture.
# Usage: make_about_picture.sh OUTPUT.jpg
set -euo pipefail
out=${1:?usage: make_about_picture.sh OUTPUT.jpg}
bold=/usr/share/fonts/truetype/liberation/LiberationSans-Bold.ttf
regular=/usr/share/fonts/truetype/liberation/LiberationSans-Regular.ttf
convert -size 320x200 gradient:'#0b3d2e-#3fa36b' \
  -fill '#ffffff22' -draw 'circle 270,40 270,150' \
  -fill '#ffffff18' -draw 'circle 40,190 40,250' \
  -fill '#f5c542' -stroke '#8a6a12' -strokewidth 2 \
  -draw 'polygon 246,110 290,110 290,142 306,142 268,182 230,142 246,142' \
  -stroke none -fill '#00000055' -font "$bold" -pointsize 40 -annotate +23+63 'Holvex 2004' \
  -fill white -annotate +20+60 'Holvex 2004' \
  -font "$regular" -pointsize 16 -fill '#e8f5ec' -annotate +22+90 'Download-Manager' \
  -pointsize 12 -fill '#cfe9d8' -annotate +22+150 'Warteschleife  -  HTTP  -  FTP' \
  -annotate +22+168 'Downloads einfach verwalten' \
  -quality 90 -interlace none -sampling-factor 2x2 -strip "$out"
