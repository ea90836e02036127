#!/usr/bin/env bash
# Lays out a program folder for the player: the program, its logos, a configuration and a folder
# of generated pictures of different sizes and shapes.
set -euo pipefail
demo=${1:?folder}
mkdir -p "$demo/Slides"
cp build/bin/Lanterna "$demo/"
[ -f build/bin/UpDate ] && cp build/bin/UpDate "$demo/"

cd "$demo"
if [ ! -f LogoPRG.png ]; then
    convert -size 176x180 gradient:'#004080-#0080FF' -gravity center -fill white -pointsize 34 \
        -annotate 0 'Lanterna' LogoPRG.png
    convert -size 193x121 xc:none -fill '#FFFFFF80' -draw 'roundrectangle 4,4 188,116 18,18' \
        -gravity center -fill '#004080' -pointsize 30 -annotate 0 'Obchod' Logo.png
fi
if [ -z "$(ls -A Slides)" ]; then
    i=0
    for picture in "1600x1000 plasma:fractal" "800x1200 gradient:orange-purple" "1920x1080 plasma:green-blue" \
        "640x480 radial-gradient:yellow-red" "1200x1200 plasma:white-navy"; do
        i=$((i + 1))
        set -- $picture
        convert -seed $i -size "$1" "$2" -gravity center -fill white -stroke black -pointsize 90 \
            -annotate 0 "Slide $i" "Slides/slide$i.jpg"
    done
    echo "A text file, shown as an empty slide." > Slides/notes.txt
    mkdir -p Slides/sub-folder
fi
cat > SlideShow.cfg <<EOF2
[Global]
SlideDirectory=$(pwd)/Slides
FullScreen=1
LogoVisible=1
ClockVisible=1
RotateInterval=4
ZjistitNovouVerziPriStartu=0
EOF2
