#!/usr/bin/env bash
# Photographs the main window under a virtual X server, showing the sample
# database of the tests, into docs/mainWindow.png (used by the README).
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

out="$PWD/docs/mainWindow.png"
xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
  "$1/tilvarbd" & pid=$!
  sleep "${TILVAR_SHOT_DELAY:-3}"
  import -window root -crop 830x655+0+0 +repage "$2"
  kill "$pid"
' shot "$prog" "$out"
echo "wrote $out"
