#!/bin/bash
# Writes the pictures the import filter tests read: make_pictures.sh OUTDIR. Each picture NAME.EXT
# comes with NAME.rgba, its pixels as ImageMagick decodes them (8-bit red, green, blue, alpha, rows
# top down), and a line "NAME.EXT WIDTH HEIGHT" in OUTDIR/pictures.txt. The 1-bit and planar PCX
# files, which ImageMagick cannot write, come from netpbm, their pixels from the picture given it.
# Exit 77 (skipped) when a program is missing.
set -eu
out=$1
for program in convert identify ppmtopcx; do
  command -v $program >/dev/null 2>&1 || { echo "SKIPPED: $program is missing (imagemagick, netpbm)"; exit 77; }
done
rm -rf "$out"
mkdir -p "$out"
cd "$out"

# A picture with smooth ramps, hard edges and odd sizes (rows are padded in most formats).
convert -size 37x23 gradient:'#1060f0'-'#f0c020' \( -size 37x23 gradient:'#00000000'-'#ff2080ff' -rotate 90 -resize 37x23! \) \
  -compose over -composite -fill '#20a040' -draw 'rectangle 5,4 14,12' -fill white -draw 'line 0,22 36,0' \
  -alpha off -depth 8 source.ppm

entry() {  # entry FILE [REFERENCE]: the reference pixels and the list line
  local file=$1 reference=${2:-$1}
  convert "$reference" -depth 8 "RGBA:${file%.*}.rgba"
  echo "$file $(identify -format '%w %h' "$file[0]")" >>pictures.txt
}

convert source.ppm -type bilevel BMP3:bmp1.bmp && entry bmp1.bmp
convert source.ppm -dither None -colors 16 -type palette BMP3:bmp4.bmp && entry bmp4.bmp
convert source.ppm -dither None -colors 200 -type palette BMP3:bmp8.bmp && entry bmp8.bmp
convert source.ppm -type truecolor -density 150 -units PixelsPerInch BMP3:bmp24.bmp && entry bmp24.bmp
convert source.ppm -alpha set -define bmp:format=bmp4 bmp32.bmp && entry bmp32.bmp
# Transparent where a rectangle was cut out.
convert source.ppm -alpha set -region 12x9+20+6 -alpha transparent +region gif.gif && entry gif.gif
convert source.ppm -quality 92 jpeg.jpg && entry jpeg.jpg
convert source.ppm -colorspace Gray -quality 92 jpeggrey.jpg && entry jpeggrey.jpg
convert source.ppm -depth 8 -compress lzw -density 300 -units PixelsPerInch tiff.tif && entry tiff.tif
convert source.ppm -dither None -colors 2 -depth 8 pcx1.ppm && ppmtopcx pcx1.ppm >pcx1.pcx 2>/dev/null && entry pcx1.pcx pcx1.ppm
convert source.ppm -dither None -colors 16 -depth 8 pcx4.ppm && ppmtopcx -planes 4 pcx4.ppm >pcx4.pcx 2>/dev/null &&
  entry pcx4.pcx pcx4.ppm
ppmtopcx -packed pcx4.ppm >pcx4packed.pcx 2>/dev/null && entry pcx4packed.pcx pcx4.ppm
convert source.ppm -dither None -colors 200 -type palette pcx8.pcx && entry pcx8.pcx
convert source.ppm -type truecolor pcx24.pcx && entry pcx24.pcx

# Files the filters must refuse.
head -c 300 bmp24.bmp >cut.bmp
head -c 1000 pcx24.pcx >cut.pcx
echo "not a picture at all" >notapicture.bmp
# 24-bit BMP files by hand: wider than a metafile can place, and a header that claims 100000 x
# 100000 pixels over a few bytes of them.
le() {  # le BYTES VALUE: VALUE little-endian in BYTES bytes
  local i
  for ((i = 0; i < $1; i++)); do printf "\\$(printf %03o $(($2 >> (8 * i) & 255)))"; done
}
bmp_header() {  # bmp_header WIDTH HEIGHT IMAGE_BYTES
  printf BM; le 4 $((54 + $3)); le 4 0; le 4 54
  le 4 40; le 4 "$1"; le 4 "$2"; le 2 1; le 2 24; le 4 0; le 4 "$3"; le 4 0; le 4 0; le 4 0; le 4 0
}
{ bmp_header 40000 1 120000; head -c 120000 /dev/zero; } >wide.bmp
{ bmp_header 100000 100000 30000000000; head -c 16 /dev/zero; } >huge.bmp
printf '%%!PS-Adobe-2.0 EPSF-1.2\n%%%%BoundingBox: 0 0 10 10\n' >plain.eps
