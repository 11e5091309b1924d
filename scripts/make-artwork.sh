#!/usr/bin/env bash
# Draws the program's artwork into assets/ with ImageMagick. The results are committed; run this
# again only to change the look. One palette throughout: white, slate text, an amber accent.
set -euo pipefail
cd "$(dirname "$0")/../assets"
font=DejaVu-Sans
bold=DejaVu-Sans-Bold
ink='#2f3a4a'
accent='#f5a623'
soft='#eef2f6'

mark() { # a rounded amber square with a white aperture ring: the product's mark
    local size=$1 out=$2
    local r=$((size / 5)) c=$((size / 2)) ring=$((size * 28 / 100)) inner=$((size * 14 / 100))
    convert -size "${size}x${size}" xc:none -fill "$accent" \
        -draw "roundrectangle 0,0 $((size - 1)),$((size - 1)) $r,$r" \
        -fill white -draw "circle $c,$c $((c + ring)),$c" \
        -fill "$accent" -draw "circle $c,$c $((c + inner)),$c" "$out"
}

mark 256 icons/korvex.png
mark 64 /tmp/korvex-mark64.png
mark 40 /tmp/korvex-mark40.png

convert -size 230x40 xc:none /tmp/korvex-mark40.png -geometry +0+0 -composite \
    -font "$bold" -pointsize 17 -fill "$ink" -annotate +48+26 'Corvanta Express' png:Logo.xdl
convert -size 230x40 xc:none /tmp/korvex-mark40.png -geometry +0+0 -composite \
    -font "$bold" -pointsize 17 -fill white -annotate +48+26 'Corvanta Express' png:SSLogo.xdl
convert -size 480x300 xc:white -fill "$soft" -draw 'rectangle 0,220 480,300' \
    /tmp/korvex-mark64.png -geometry +40+70 -composite \
    -font "$bold" -pointsize 34 -fill "$ink" -annotate +122+112 'Corvanta Express' \
    -font "$font" -pointsize 15 -fill '#5b6b80' -annotate +124+140 'Your pictures, organised and printed' \
    -fill "$accent" -draw 'rectangle 0,218 480,221' png:Splash.xdl
convert -size 420x260 xc:white /tmp/korvex-mark64.png -geometry +178+50 -composite \
    -font "$bold" -pointsize 18 -fill "$ink" -gravity north -annotate +0+140 'No pictures in this folder' \
    -font "$font" -pointsize 13 -fill '#5b6b80' -annotate +0+172 'Choose Get Pictures to open a folder of pictures,' \
    -annotate +0+192 'or copy new ones from your camera.' png:startup.xdl
convert -size 152x112 xc:white /tmp/korvex-mark40.png -geometry +56+20 -composite \
    -font "$bold" -pointsize 13 -fill "$ink" -gravity north -annotate +0+70 'Corvanta Express' png:korvex.xdl

convert -size 32x32 xc:none -stroke black -strokewidth 1.5 -fill white \
    -draw 'roundrectangle 8,14 24,28 5,5' -draw 'roundrectangle 8,4 11,16 1,1' \
    -draw 'roundrectangle 12,2 15,16 1,1' -draw 'roundrectangle 16,3 19,16 1,1' \
    -draw 'roundrectangle 20,6 23,17 1,1' cursors/openhand.png
convert -size 32x32 xc:none -stroke black -strokewidth 1.5 -fill white \
    -draw 'roundrectangle 8,10 24,26 5,5' -draw 'line 12,10 12,15' -draw 'line 16,10 16,15' \
    -draw 'line 20,10 20,15' cursors/closedhand.png
convert -size 32x32 xc:none -stroke '#d0021b' -strokewidth 2 -fill none \
    -draw 'circle 16,16 16,6' -draw 'line 16,2 16,10' -draw 'line 16,22 16,30' \
    -draw 'line 2,16 10,16' -draw 'line 22,16 30,16' cursors/redeye.png

# The panel frame: eight edge and corner pieces of a soft rounded border.
convert -size 8x8 xc:none -fill white -stroke '#c9d2dc' -draw 'roundrectangle 0,0 15,15 6,6' frame/topleft.png
convert frame/topleft.png -flop frame/topright.png
convert frame/topleft.png -flip frame/bottomleft.png
convert frame/topleft.png -flip -flop frame/bottomright.png
convert -size 8x8 xc:white -fill '#c9d2dc' -draw 'rectangle 0,0 7,0' frame/top.png
convert frame/top.png -flip frame/bottom.png
convert frame/top.png -rotate 270 frame/left.png
convert frame/top.png -rotate 90 frame/right.png

button() { # name, symbol
    convert -size 28x28 xc:none -fill "$soft" -stroke '#c9d2dc' -draw 'roundrectangle 0,0 27,27 6,6' \
        -stroke none -fill "$ink" -font "$bold" -pointsize 16 -gravity center -annotate +0+0 "$2" \
        "buttons/$1.png"
}
button rotateleft '↺'
button rotateright '↻'
button zoomin '+'
button zoomout '−'
button previous '◀'
button next '▶'
button slideshow '▣'
rm -f /tmp/korvex-mark64.png /tmp/korvex-mark40.png
