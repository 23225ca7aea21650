#!/bin/sh
# Draws the splash and About picture (400 x 240, 24-bit BMP) beside this script with ImageMagick.
set -e
cd "$(dirname "$0")"
convert -size 400x240 gradient:'#1c3f6e'-'#4f86c6' \
  -stroke '#8fb3e0' -strokewidth 1 \
  -draw "line 0,40 400,40" -draw "line 0,80 400,80" -draw "line 0,120 400,120" \
  -draw "line 0,160 400,160" -draw "line 0,200 400,200" \
  -draw "line 40,0 40,240" -draw "line 120,0 120,240" -draw "line 200,0 200,240" \
  -draw "line 280,0 280,240" -draw "line 360,0 360,240" \
  -stroke white -strokewidth 2 -fill none \
  -draw "rectangle 250,120 370,200" -draw "circle 310,160 310,185" \
  -draw "line 250,215 370,215" -draw "line 250,209 250,221" -draw "line 370,209 370,221" \
  -stroke none -fill white -font DejaVu-Sans-Bold -pointsize 40 -draw "text 28,78 'Draxel Pro'" \
  -font DejaVu-Sans -pointsize 22 -draw "text 30,112 'Version 2.0'" \
  -pointsize 13 -draw "text 30,215 'Two-dimensional drafting'" \
  -type TrueColor BMP3:splash.bmp
