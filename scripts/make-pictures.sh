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
