#!/usr/bin/env bash
# Photographs the main window under a virtual X server, showing the sample
# database of the tests, into docs/mainWindow.png, then, driving it as a user
# would with xdotool, the sales page (docs/salesWindow.png) and the sale-line
# editor (docs/saleEditor.png), the help window (docs/helpWindow.png) and the
# restore dialog (docs/restoreDialog.png).
set -euo pipefail
cd "$(dirname "$0")/.."
TILVAR_WITH_SCREENSHOT=1 ./scripts/install-deps.sh
cmake -S . -B build-screenshot -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DTILVAR_TESTS=OFF -DTILVAR_BENCH=OFF >/dev/null
cmake --build build-screenshot --target tilvarbd

# A program folder of its own: the program, its settings and its data.
prog=$(mktemp -d)
trap 'rm -rf "$prog"' EXIT
cp build-screenshot/bin/tilvarbd "$prog/"
mkdir -p "$prog/data" docs
cp tests/data/sales-realistic.tlvdb "$prog/data/boutique.tlvdb"
printf '[PREFS]\r\nartFileName=boutique.tlvdb\r\nautoLoad=1\r\nshowSplash=0\r\nwLeft=0\r\nwTop=0\r\n' \
  > "$prog/tilvarDB.ini"

docs="$PWD/docs"
xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
  set -e
  shot() { import -window root -crop 830x655+0+0 +repage "$1"; }
  pause=${TILVAR_SHOT_DELAY:-3}
  # One TilvarBD per user: another one running would make this one give way.
  # As root it runs in a network namespace of its own, where the check starts
  # afresh (the X server is still reached through its socket file).
  launch=
  if [ "$(id -u)" = 0 ] && command -v unshare >/dev/null; then launch="unshare -n"; fi
  $launch "$1/tilvarbd" & pid=$!
  sleep "$pause"
  shot "$2/mainWindow.png"
  # The page button (top right) leads to the sales; Insert opens the editor
  # on the newest sheet, where a search by key puts a product on it.
  xdotool mousemove 725 31 click 1
  sleep 1
  shot "$2/salesWindow.png"
  xdotool key Insert
  sleep 1
  xdotool type --delay 60 "TreMar001-002"
  xdotool key Return
  sleep 1
  shot "$2/saleEditor.png"
  # "?" > "Aide" (F1): the user guide.
  xdotool key Escape
  sleep 1
  xdotool key F1
  sleep 1
  shot "$2/helpWindow.png"
  xdotool key Escape
  sleep 1
  # "Terminé" closes the editor; a save keeps the file as it was among the
  # backups, which "Fichier" > "Restaurer une sauvegarde..." then lists.
  xdotool mousemove 790 581 click 1
  sleep 1
  xdotool key ctrl+s
  sleep 1
  xdotool mousemove 27 8 click 1
  sleep 1
  xdotool mousemove 118 138 click 1
  sleep 2
  shot "$2/restoreDialog.png"
  xdotool key Escape
  kill "$pid"
' shot "$prog" "$docs"
echo "wrote $docs/mainWindow.png, salesWindow.png, saleEditor.png, helpWindow.png, restoreDialog.png"
