#!/usr/bin/env bash
# Draws the pictures the windows show and that we ship inside the program:
# resources/qTableImg.jpg, the small table behind the sale-line editor's
# quantities (total, sold, available). Run again after changing the drawing;
# the JPEG it writes is committed.
set -euo pipefail
cd "$(dirname "$0")/.."
convert=/usr/bin/convert # ImageMagick's own (another may shadow it on PATH)
font=/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf

# 192 x 52: a header row of three titles over three empty value cells.
"$convert" -size 192x52 xc:'#fbf6e9' \
  -fill '#d9e8d4' -stroke none -draw 'rectangle 0,0 191,19' \
  -fill none -stroke '#4f6b47' -strokewidth 1 \
  -draw 'rectangle 0,0 191,51' -draw 'line 0,19 191,19' \
  -draw 'line 64,0 64,51' -draw 'line 128,0 128,51' \
  -stroke none -fill '#2f4a2a' -font "$font" -pointsize 11 \
  -annotate +14+14 'Total' -annotate +78+14 'Vendu' -annotate +138+14 'Dispo' \
  -quality 90 -strip resources/qTableImg.jpg
echo "wrote resources/qTableImg.jpg"

# 256 x 256: the program's icon for the desktop's menu (resources/tilvarbd.png),
# a green tile with the maroon "T" of Tilvar over a small price tag.
"$convert" -size 256x256 xc:none \
  -fill '#2f7a2f' -stroke '#1d4d1d' -strokewidth 6 -draw 'roundrectangle 10,10 245,245 40,40' \
  -fill '#fbf6e9' -stroke '#800000' -strokewidth 4 -draw 'polygon 120,150 200,150 222,180 200,210 120,210' \
  -fill '#800000' -stroke none -draw 'circle 206,180 212,180' \
  -font "${font/DejaVuSans.ttf/DejaVuSerif-Bold.ttf}" -pointsize 150 -fill '#fbf6e9' -stroke '#800000' -strokewidth 3 \
  -annotate +40+175 'T' \
  -strip resources/tilvarbd.png
echo "wrote resources/tilvarbd.png"
