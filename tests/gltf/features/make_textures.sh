#!/usr/bin/env bash
# Writes the 8x8 textures of features.x with ImageMagick (run once; the
# files are kept): an 8x8 checker of two colours per format, so that each
# material shows which file it took, and a PNG whose alpha is a cut-out.
set -euo pipefail
cd "$(dirname "$0")"
tmp=$(mktemp --suffix=.png)
trap 'rm -f "$tmp"' EXIT
checker() { convert -size 2x2 xc:"$1" -fill "$2" -draw 'point 1,0' -draw 'point 0,1' -filter point -resize 8x8 "$tmp"; }

# Opaque ring, clear border and clear middle.
convert -size 8x8 xc:'#20a040' -alpha set -channel A \
  -fx '(i>=3 && i<=4 && j>=3 && j<=4) || i==0 || j==0 || i==7 || j==7 ? 0 : 1' +channel \
  -define png:color-type=6 -define png:exclude-chunks=date,time cutout.png
checker '#3050d0' '#e0e0f0' && convert "$tmp" -quality 90 checker.jpg
checker '#d0a020' '#202020' && convert "$tmp" -type TrueColor BMP3:checker.bmp
checker '#a030c0' '#f0f0f0' && convert "$tmp" -type TrueColor -compress None checker.tga
checker '#30b0b0' '#101010' && convert "$tmp" checker.ppm
checker '#e07010' '#ffffff' && convert "$tmp" -define dds:compression=dxt1 -define dds:mipmaps=0 checker_dxt1.dds
# DXT5 with its right half at half alpha.
checker '#808080' '#40e040' && convert "$tmp" -alpha set -channel A -fx 'i<4?1:0.5' +channel \
  -define dds:compression=dxt5 -define dds:mipmaps=0 checker_dxt5.dds
checker '#f040a0' '#202080' && convert "$tmp" -alpha set -define dds:compression=none -define dds:mipmaps=0 checker_rgba.dds
